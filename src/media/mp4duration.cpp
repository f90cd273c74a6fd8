#include "media/mp4duration.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int MaxBoxes = 4096;

quint32 be32(const char *p) { return qFromBigEndian<quint32>(p); }
quint64 be64(const char *p) { return qFromBigEndian<quint64>(p); }

struct Box {
    qint64 start = 0;     // where the box begins
    qint64 bodyStart = 0; // after its header
    qint64 end = 0;       // one past its last byte
    QByteArray type;
};

// Reads the header of the box at pos, which must end by limit.
bool readBox(QFile &file, qint64 pos, qint64 limit, Box &box)
{
    if (limit - pos < 8 || !file.seek(pos))
        return false;
    char header[16];
    if (file.read(header, 8) != 8)
        return false;
    quint64 size = be32(header);
    qint64 headerSize = 8;
    if (size == 1) {
        if (limit - pos < 16 || file.read(header + 8, 8) != 8)
            return false;
        size = be64(header + 8);
        headerSize = 16;
    } else if (size == 0) {
        size = quint64(limit - pos); // to the end of the enclosing space
    }
    if (size < quint64(headerSize) || size > quint64(limit - pos))
        return false;
    box.start = pos;
    box.bodyStart = pos + headerSize;
    box.end = pos + qint64(size);
    box.type = QByteArray(header + 4, 4);
    return true;
}

bool findBox(QFile &file, qint64 from, qint64 limit, const QByteArray &type, Box &found)
{
    qint64 pos = from;
    for (int i = 0; i < MaxBoxes && pos < limit; ++i) {
        Box box;
        if (!readBox(file, pos, limit, box))
            return false;
        if (box.type == type) {
            found = box;
            return true;
        }
        pos = box.end;
    }
    return false;
}

} // namespace

double mp4DurationSeconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 size = file.size();
    Box moov, mvhd;
    if (!findBox(file, 0, size, "moov", moov) || !findBox(file, moov.bodyStart, moov.end, "mvhd", mvhd))
        return 0;
    if (!file.seek(mvhd.bodyStart))
        return 0;
    const QByteArray body = file.read(qMin<qint64>(mvhd.end - mvhd.bodyStart, 32));
    if (body.isEmpty())
        return 0;
    const int version = quint8(body.at(0));
    quint32 timescale = 0;
    quint64 duration = 0;
    if (version == 0) {
        if (body.size() < 20)
            return 0;
        timescale = be32(body.constData() + 12);
        duration = be32(body.constData() + 16);
        if (duration == 0xffffffffu)
            return 0; // unknown
    } else if (version == 1) {
        if (body.size() < 32)
            return 0;
        timescale = be32(body.constData() + 20);
        duration = be64(body.constData() + 24);
        if (duration == ~quint64(0))
            return 0;
    } else {
        return 0;
    }
    if (timescale == 0)
        return 0;
    return double(duration) / double(timescale);
}
