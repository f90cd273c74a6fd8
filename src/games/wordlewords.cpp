#include "games/wordlewords.h"

#include "core/logging.h"
#include "core/random.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QStringList loadList(const QString &name)
{
    QFile file(QStringLiteral(":/qt/qml/Pavlet/src/games/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcGames) << "word list missing:" << name;
        return {};
    }
    return WordleWords::splitWords(QString::fromUtf8(file.readAll()));
}

} // namespace

namespace WordleWords {

QStringList splitWords(const QString &text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.split(space, Qt::SkipEmptyParts);
}

const QStringList &answers()
{
    static const QStringList list = loadList(QStringLiteral("wordle-answers.txt"));
    return list;
}

const QStringList &allowed()
{
    static const QStringList list = loadList(QStringLiteral("wordle-allowed.txt"));
    return list;
}

const QSet<QString> &valid()
{
    static const QSet<QString> set = [] {
        QSet<QString> s;
        s.reserve(answers().size() + allowed().size());
        for (const QString &w : answers())
            s.insert(w);
        for (const QString &w : allowed())
            s.insert(w);
        return s;
    }();
    return set;
}

const QSet<QString> &blocked()
{
    static const QSet<QString> set{
        QStringLiteral("bitch"), QStringLiteral("fagot"), QStringLiteral("horny"),
        QStringLiteral("penis"), QStringLiteral("prick"), QStringLiteral("pussy"),
        QStringLiteral("semen"), QStringLiteral("sperm"), QStringLiteral("whore"),
    };
    return set;
}

QString randomAnswer(Random &random)
{
    return randomAnswer(random, answers(), blocked());
}

QString randomAnswer(Random &random, const QStringList &answers, const QSet<QString> &blocked)
{
    QStringList candidates;
    candidates.reserve(answers.size());
    for (const QString &w : answers) {
        if (!blocked.contains(w))
            candidates.append(w);
    }
    if (candidates.isEmpty())
        return QStringLiteral("smile");
    return candidates[random.below(int(candidates.size()))];
}

} // namespace WordleWords
