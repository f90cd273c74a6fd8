#pragma once

#include "core/keyinput.h"
#include "tools/rational.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

#include "tools/tooltypes.h"

using CalcOp = Tools::CalcOp;
QString calcOpLabel(CalcOp op);

// One key of the calculator's pad.
struct CalcKey {
    Q_GADGET
    QML_VALUE_TYPE(calcKey)
    Q_PROPERTY(Tools::CalcKeyKind kind MEMBER kind)
    Q_PROPERTY(int digit MEMBER digit)
    Q_PROPERTY(Tools::CalcOp op MEMBER op)
    Q_PROPERTY(QString label READ label)
public:
    using Kind = Tools::CalcKeyKind;

    Kind kind = Kind::digit;
    int digit = 0;
    CalcOp op = CalcOp::add;

    static CalcKey ofDigit(int d) { return {Kind::digit, d, CalcOp::add}; }
    static CalcKey ofOp(CalcOp o) { return {Kind::op, 0, o}; }
    static CalcKey of(Kind k) { return {k, 0, CalcOp::add}; }

    QString label() const;
    bool operator==(const CalcKey &o) const
    {
        return kind == o.kind && (kind != Kind::digit || digit == o.digit) && (kind != Kind::op || op == o.op);
    }
};

// The exact calculator: immediate-execution operators, a repeatable equals,
// percent, sign, backspace, a three-stage "a b/c" fraction entry and a
// decimal or fraction view of the result.
class CalculatorEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the calculator")
    Q_PROPERTY(QString display READ display NOTIFY displayChanged)
    Q_PROPERTY(CalcReadout readout READ readout NOTIFY readoutChanged)
    Q_PROPERTY(QString expression READ expression NOTIFY expressionChanged)
    Q_PROPERTY(bool showAsFraction READ showAsFraction NOTIFY showAsFractionChanged)
    Q_PROPERTY(bool error READ error NOTIFY errorChanged)
public:
    explicit CalculatorEngine(QObject *parent = nullptr);

    QString display() const { return m_display; }
    CalcReadout readout() const { return m_readout; }
    QString expression() const { return m_expression; }
    bool showAsFraction() const { return m_showAsFraction; }
    bool error() const { return m_error; }
    Rational current() const { return m_current; }

    Q_INVOKABLE void press(const CalcKey &key);
    Q_INVOKABLE void pressDigit(int d) { press(CalcKey::ofDigit(d)); }
    Q_INVOKABLE void pressOp(Tools::CalcOp op) { press(CalcKey::ofOp(op)); }
    Q_INVOKABLE void pressKey(Tools::CalcKeyKind kind) { press(CalcKey::of(kind)); }
    Q_INVOKABLE void backspace();
    Q_INVOKABLE void refresh();

    // True when the key belongs to the calculator and is consumed. Keys
    // with Ctrl (or the Super key) held are shortcuts, never the calculator's.
    bool handleKey(const KeyInput &key);
    // The same for a Qt key event's parts.
    Q_INVOKABLE bool handleQtKey(int qtKey, int modifiers, const QString &text);

signals:
    void displayChanged();
    void readoutChanged();
    void expressionChanged();
    void showAsFractionChanged();
    void errorChanged();

private:
    void inputDigit(int d);
    void inputDot();
    void setOperator(CalcOp op);
    void equals();
    void clearAll();
    void toggleSign();
    void percent();
    void fractionKey();
    void beginEntry();
    void commitEntry();
    void updateFraction();
    bool apply(CalcOp op, const Rational &operand);
    void setError();
    static void appendDigit(QString &part, int d);
    QString fractionEntryText() const;
    CalcReadout fractionEntryReadout() const;
    QString textOf(const Rational &v) const;
    void run(const CalcKey &key);

    void setDisplay(const QString &v);
    void setReadout(const CalcReadout &v);
    void setExpression(const QString &v);
    void setShowAsFraction(bool v);
    void setErrorFlag(bool v);

    QString m_display = QStringLiteral("0");
    CalcReadout m_readout = CalcReadout::digits(QStringLiteral("0"));
    QString m_expression;
    bool m_showAsFraction = false;
    bool m_error = false;
    Rational m_current;
    std::optional<Rational> m_accumulator;
    std::optional<CalcOp> m_pending;
    std::optional<CalcOp> m_lastOp;
    std::optional<Rational> m_lastOperand;
    bool m_entering = false;
    QString m_entry = QStringLiteral("0");
    bool m_fractionMode = false;
    QString m_fracWhole;
    QString m_fracNum;
    QString m_fracDen;
    int m_fracStage = 0;
};
