#include "platform/linux/helperfilepicker.h"
#include "platform/linux/besideprogram.h"

#include "core/logging.h"
#include "platform/linux/helperprocess.h"

#include <QWindow>
#include <utility>

namespace platform {

QString HelperFilePicker::helperProgram()
{
    return builtOrBesideProgram(QStringLiteral(PAVLET_PICK_HELPER));
}

HelperFilePicker::HelperFilePicker(WindowSource above, QString program, QObject *parent)
    : QObject(parent), m_above(std::move(above)), m_program(std::move(program))
{
}

HelperFilePicker::~HelperFilePicker()
{
    if (!m_helper)
        return;
    QProcess *helper = std::exchange(m_helper, nullptr);
    helper->disconnect(this);
    // The end of its input cancels the dialog; a helper that hangs is stopped.
    helper->closeWriteChannel();
    if (!helper->waitForFinished(1000)) {
        helper->kill();
        helper->waitForFinished(1000);
    }
    delete helper;
}

std::optional<QList<QUrl>> HelperFilePicker::readAnswer(const QByteArray &output)
{
    const QList<QByteArray> lines = output.split('\n');
    const qsizetype start = lines.indexOf("picked");
    if (start < 0)
        return std::nullopt;
    QList<QUrl> picked;
    for (qsizetype i = start + 1; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty())
            continue;
        const QUrl url = QUrl::fromEncoded(lines.at(i), QUrl::StrictMode);
        if (!url.isValid() || !url.isLocalFile())
            return std::nullopt;
        picked << url;
    }
    return picked;
}

void HelperFilePicker::pickFilesAndFolders(const QString &confirmLabel, Answer done)
{
    // One dialog at a time: a second request only brings the open one forward.
    if (m_helper) {
        m_helper->write("raise\n");
        if (done)
            done(std::nullopt);
        return;
    }
    m_done = std::move(done);
    m_helper = new QProcess(this);
    endWithThisProgram(m_helper);
    m_helper->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{confirmLabel};
    if (QWindow *above = m_above ? m_above() : nullptr) {
        // Where the island stands, for the dialog to open beside it.
        const QRect frame = above->geometry();
        args << QString::number(above->winId())
             << QStringLiteral("%1,%2,%3,%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    }
    connect(m_helper, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QByteArray output = m_helper->readAllStandardOutput();
        if (status != QProcess::NormalExit || code != 0)
            qCWarning(lcPlatform) << "the file dialog ended with" << code << status;
        finish(status == QProcess::NormalExit && code == 0 ? readAnswer(output) : std::nullopt);
    });
    connect(m_helper, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcPlatform) << "no file dialog:" << m_helper->errorString();
        finish(std::nullopt);
    });
    m_helper->start(m_program, args);
}

void HelperFilePicker::finish(const std::optional<QList<QUrl>> &picked)
{
    if (QProcess *helper = std::exchange(m_helper, nullptr))
        helper->deleteLater();
    // The answer is taken out first: it may open the next dialog.
    if (Answer done = std::exchange(m_done, nullptr))
        done(picked);
}

} // namespace platform
