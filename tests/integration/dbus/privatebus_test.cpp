#include "support/privatebus.h"

#include <QDBusReply>
#include <gtest/gtest.h>

// The harness the D-Bus backend tests stand on: a private bus with a mock on it.
TEST(PrivateBusTest, StartsAGenericMockAndDrivesIt)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    ASSERT_TRUE(bus.startMock({"com.example.Pavlet", "/", "com.example.Pavlet"}, "com.example.Pavlet"));
    QDBusMessage added = bus.call("com.example.Pavlet", "/", "org.freedesktop.DBus.Mock", "AddMethod",
                                  {"com.example.Pavlet", "Answer", "", "i", "ret = 42"});
    ASSERT_NE(added.type(), QDBusMessage::ErrorMessage) << added.errorMessage().toStdString();
    QDBusMessage reply = bus.call("com.example.Pavlet", "/", "com.example.Pavlet", "Answer");
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).toInt(), 42);
}
