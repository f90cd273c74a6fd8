#pragma once

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <gtest/gtest.h>

// Evaluates a QML expression in the engine's root context; an error fails
// the test.
inline QVariant evalQml(QQmlEngine &qml, const QString &expression)
{
    QQmlExpression expr(qml.rootContext(), nullptr, expression);
    const QVariant v = expr.evaluate();
    EXPECT_FALSE(expr.hasError()) << expr.error().toString().toStdString();
    return v;
}
