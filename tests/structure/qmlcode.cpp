#include "qmlcode.h"

namespace qmlcode {

QString codeOf(const QString &qml)
{
    QString out = qml;
    enum { Code, Line, Block, Str } state = Code;
    QChar quote;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        const QChar next = i + 1 < out.size() ? out[i + 1] : QChar();
        switch (state) {
        case Code:
            if (c == '/' && next == '/')
                state = Line;
            else if (c == '/' && next == '*')
                state = Block;
            else if (c == '"' || c == '\'' || c == '`') {
                state = Str;
                quote = c;
                continue;
            } else
                continue;
            out[i] = ' ';
            break;
        case Line:
            if (c == '\n')
                state = Code;
            else
                out[i] = ' ';
            break;
        case Block:
            if (c == '*' && next == '/') {
                out[i] = out[i + 1] = ' ';
                ++i;
                state = Code;
            } else if (c != '\n') {
                out[i] = ' ';
            }
            break;
        case Str:
            if (c == '\\' && i + 1 < out.size()) {
                out[i] = out[i + 1] = ' ';
                ++i;
            } else if (c == quote) {
                state = Code;
            } else if (c != '\n') {
                out[i] = ' ';
            }
            break;
        }
    }
    return out;
}

} // namespace qmlcode
