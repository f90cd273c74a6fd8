#include "core/userdefaults.h"

#include "core/atomicfile.h"
#include "core/logging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// A double as a 64-bit integer, clamped to the type's range; NaN has none.
std::optional<qint64> toInt64(double d)
{
    if (std::isnan(d))
        return std::nullopt;
    // 2^63 is exactly representable; every double below it converts safely.
    constexpr double limit = 9223372036854775808.0;
    if (d >= limit)
        return std::numeric_limits<qint64>::max();
    if (d < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(d);
}

// Whether two stored values are the same value of the same type.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    return a == b;
}

// On disk every value is an object {"type": ..., "value": ...} so that an
// integer stays an integer and data stays data.
QJsonObject encode(const QVariant &v)
{
    QJsonObject o;
    switch (v.typeId()) {
    case QMetaType::Bool:
        o["type"] = "bool";
        o["value"] = v.toBool();
        break;
    case QMetaType::LongLong:
        // Text keeps all 64 bits; JSON numbers are doubles.
        o["type"] = "int";
        o["value"] = QString::number(v.toLongLong());
        break;
    case QMetaType::Double: {
        o["type"] = "double";
        const double d = v.toDouble();
        if (std::isfinite(d))
            o["value"] = d;
        else
            o["value"] = QString::number(d);
        break;
    }
    case QMetaType::QByteArray:
        o["type"] = "data";
        o["value"] = QString::fromLatin1(v.toByteArray().toBase64());
        break;
    default:
        o["type"] = "string";
        o["value"] = v.toString();
        break;
    }
    return o;
}

QVariant decode(const QJsonValue &jv)
{
    if (!jv.isObject())
        return {};
    const QJsonObject o = jv.toObject();
    const QString type = o.value("type").toString();
    const QJsonValue value = o.value("value");
    if (type == "bool" && value.isBool())
        return value.toBool();
    if (type == "int") {
        bool ok = false;
        const qint64 n = value.isString() ? value.toString().toLongLong(&ok) : 0;
        if (ok)
            return QVariant::fromValue<qint64>(n);
        if (value.isDouble()) {
            if (const auto n = toInt64(value.toDouble()))
                return QVariant::fromValue<qint64>(*n);
        }
        return {};
    }
    if (type == "double") {
        if (value.isDouble())
            return value.toDouble();
        bool ok = false;
        const double d = value.toString().toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    if (type == "string" && value.isString())
        return value.toString();
    if (type == "data" && value.isString())
        return QByteArray::fromBase64(value.toString().toLatin1());
    return {};
}

} // namespace

UserDefaults::UserDefaults(const QString &path, QObject *parent, const QString &damagedCopyDir)
    : QObject(parent), m_path(path.isEmpty() ? defaultPath() : path),
      m_damagedCopyDir(damagedCopyDir.isEmpty() ? QFileInfo(m_path).absolutePath() : damagedCopyDir)
{
    load();
}

UserDefaults::~UserDefaults()
{
    flush();
}

QString UserDefaults::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/pavlet/defaults.json");
}

void UserDefaults::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcCore) << "cannot read user defaults" << m_path << file.errorString();
        m_unreadableOnDisk = true;
        return;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        qCWarning(lcCore) << "user defaults file is damaged, starting empty:" << m_path;
        m_unreadableOnDisk = true;
        return;
    }
    const QJsonObject root = doc.object();
    const QJsonObject values = root.value("values").toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QVariant v = decode(it.value());
        if (v.isValid())
            m_values.insert(it.key(), v);
        else
            m_foreignValues.insert(it.key(), it.value());
    }
    // A newer version may keep more than values; it gets them back.
    m_foreignRoot = root;
    m_foreignRoot.remove("values");
}

UserDefaults::Type UserDefaults::typeOf(const QString &key) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return Type::None;
    switch (it->typeId()) {
    case QMetaType::Bool: return Type::Bool;
    case QMetaType::LongLong: return Type::Int;
    case QMetaType::Double: return Type::Double;
    case QMetaType::QByteArray: return Type::Data;
    default: return Type::String;
    }
}

bool UserDefaults::boolValue(const QString &key, bool fallback) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return fallback;
    switch (it->typeId()) {
    case QMetaType::Bool: return it->toBool();
    case QMetaType::LongLong: return it->toLongLong() != 0;
    case QMetaType::Double: return it->toDouble() != 0.0;
    case QMetaType::QString: {
        const QString s = it->toString().trimmed().toLower();
        if (s == "true" || s == "yes")
            return true;
        bool ok = false;
        const double n = s.toDouble(&ok);
        return ok && n != 0.0;
    }
    default: return fallback;
    }
}

qint64 UserDefaults::intValue(const QString &key, qint64 fallback) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return fallback;
    switch (it->typeId()) {
    case QMetaType::Bool: return it->toBool() ? 1 : 0;
    case QMetaType::LongLong: return it->toLongLong();
    case QMetaType::Double: {
        const double d = it->toDouble();
        if (!std::isfinite(d))
            return fallback;
        return toInt64(d).value_or(fallback);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = it->toString().trimmed().toLongLong(&ok);
        return ok ? n : fallback;
    }
    default: return fallback;
    }
}

double UserDefaults::doubleValue(const QString &key, double fallback) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return fallback;
    switch (it->typeId()) {
    case QMetaType::Bool: return it->toBool() ? 1.0 : 0.0;
    case QMetaType::LongLong: return double(it->toLongLong());
    case QMetaType::Double: return it->toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double d = it->toString().trimmed().toDouble(&ok);
        return ok ? d : fallback;
    }
    default: return fallback;
    }
}

QString UserDefaults::stringValue(const QString &key, const QString &fallback) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return fallback;
    switch (it->typeId()) {
    case QMetaType::QString: return it->toString();
    case QMetaType::Bool: return it->toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::LongLong: return QString::number(it->toLongLong());
    case QMetaType::Double: return QString::number(it->toDouble());
    default: return fallback;
    }
}

QByteArray UserDefaults::dataValue(const QString &key, const QByteArray &fallback) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return fallback;
    if (it->typeId() == QMetaType::QByteArray)
        return it->toByteArray();
    if (it->typeId() == QMetaType::QString)
        return it->toString().toUtf8();
    return fallback;
}

void UserDefaults::setBool(const QString &key, bool value) { put(key, QVariant(value)); }
void UserDefaults::setInt(const QString &key, qint64 value) { put(key, QVariant::fromValue<qint64>(value)); }
void UserDefaults::setDouble(const QString &key, double value) { put(key, QVariant(value)); }
void UserDefaults::setString(const QString &key, const QString &value) { put(key, QVariant(value)); }
void UserDefaults::setData(const QString &key, const QByteArray &value) { put(key, QVariant(value)); }

void UserDefaults::remove(const QString &key)
{
    if (!m_values.contains(key) && !m_foreignValues.contains(key))
        return;
    m_values.remove(key);
    m_foreignValues.remove(key);
    scheduleSave();
    emit changed(key);
}

void UserDefaults::put(const QString &key, const QVariant &value)
{
    const auto it = m_values.constFind(key);
    if (it != m_values.constEnd() && sameValue(*it, value))
        return;
    m_values.insert(key, value);
    m_foreignValues.remove(key);
    scheduleSave();
    emit changed(key);
}

void UserDefaults::scheduleSave()
{
    m_dirty = true;
    if (m_saveQueued)
        return;
    m_saveQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_saveQueued = false;
        flush();
    }, Qt::QueuedConnection);
}

bool UserDefaults::flush()
{
    if (!m_dirty)
        return m_lastWriteOk;
    m_dirty = !save();
    return !m_dirty;
}

bool UserDefaults::keepDamagedCopy()
{
    QString keptAt;
    if (keepDamagedFile(m_path, m_damagedCopyDir, &keptAt)) {
        if (!keptAt.isEmpty()) {
            m_damagedCopyPath = keptAt;
            emit damagedCopyKept();
        }
        return true;
    }
    qCWarning(lcCore) << "leaving the damaged defaults as they are:" << m_path;
    return false;
}

bool keepDamagedFile(const QString &path, const QString &copyDir, QString *keptAt)
{
    if (!QFile::exists(path))
        return true;
    const QString dir = copyDir.isEmpty() ? QFileInfo(path).absolutePath() : copyDir;
    const QString stem = dir + QLatin1Char('/') + QFileInfo(path).fileName() + QStringLiteral(".damaged-")
                         + QDateTime::currentDateTimeUtc().toString("yyyyMMddHHmmss");
    QString keep = stem;
    for (int n = 1; QFileInfo::exists(keep); ++n)
        keep = stem + QLatin1Char('-') + QString::number(n);
    if (QFile::copy(path, keep)) {
        if (keptAt)
            *keptAt = keep;
        return true;
    }
    qCWarning(lcCore) << "could not keep a copy of the damaged file at" << keep;
    return false;
}

bool UserDefaults::save()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (m_unreadableOnDisk) {
        // Keep what the user had before the first write replaces it.
        if (!keepDamagedCopy()) {
            setLastWriteOk(false);
            return false;
        }
        m_unreadableOnDisk = false;
    }
    QJsonObject values = m_foreignValues;
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
        values.insert(it.key(), encode(it.value()));
    QJsonObject root = m_foreignRoot;
    if (!root.contains("format"))
        root["format"] = 1;
    root["values"] = values;

    QString error;
    const bool ok = AtomicFile::write(m_path, QJsonDocument(root).toJson(QJsonDocument::Indented), &error);
    if (!ok)
        qCWarning(lcCore) << "could not write user defaults" << m_path << error;
    setLastWriteOk(ok);
    return ok;
}

void UserDefaults::setLastWriteOk(bool ok)
{
    if (ok == m_lastWriteOk)
        return;
    m_lastWriteOk = ok;
    emit writeStateChanged();
}

bool defaultsBool(const UserDefaults &defaults, const QString &key, bool fallback)
{
    return defaults.boolValue(key, fallback);
}
