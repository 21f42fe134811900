// The network transport over real loopback TCP.
#include "link/PortSocket.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr int kWaitMs = 5000;

class SocketTransportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0)); }

    // Connects the transport and returns the server's end of the connection.
    QTcpSocket* Accept() {
        EXPECT_TRUE(transport.Connect("127.0.0.1", server.serverPort()));
        if (!QTest::qWaitFor([&] { return server.hasPendingConnections(); }, kWaitMs)) {
            return nullptr;
        }
        return server.nextPendingConnection();
    }

    // Calls Receive until `count` characters came or the time is up; records each call's size.
    std::string ReceiveAll(std::size_t count, std::vector<std::size_t>* sizes = nullptr) {
        std::string received;
        std::ignore = QTest::qWaitFor(
            [&] {
                const std::string chunk = transport.Receive();
                if (sizes && !chunk.empty()) {
                    sizes->push_back(chunk.size());
                }
                received += chunk;
                return received.size() >= count;
            },
            kWaitMs);
        return received;
    }

    QTcpServer server;
    CPortSocket transport;
};

} // namespace

TEST_F(SocketTransportTest, ReceiveHandsOverAtMostOneHundredCharactersPerCall) {
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    std::string sent;
    for (int i = 0; i < 250; ++i) {
        sent += static_cast<char>(i);
    }
    peer->write(sent.data(), static_cast<qint64>(sent.size()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesToWrite() == 0; }, kWaitMs));
    // Let everything arrive before the first read, so that the cap is what splits it.
    QTest::qWait(50);
    std::vector<std::size_t> sizes;
    EXPECT_EQ(ReceiveAll(sent.size(), &sizes), sent);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{100, 100, 50}));
    EXPECT_EQ(transport.Receive(), "");
}

TEST_F(SocketTransportTest, SendBeforeTheConnectionStandsIsDeliveredOnceItDoes) {
    ASSERT_TRUE(transport.Connect("127.0.0.1", server.serverPort()));
    transport.Send(std::string("\x11poll\x12\0end", 11));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, kWaitMs));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 11; }, kWaitMs));
    EXPECT_EQ(peer->readAll().toStdString(), std::string("\x11poll\x12\0end", 11));

    transport.Send("more");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 4; }, kWaitMs));
    EXPECT_EQ(peer->readAll().toStdString(), "more");
}

TEST_F(SocketTransportTest, ConnectingWhereNothingListensSucceedsAndStaysSilent) {
    const quint16 port = server.serverPort();
    server.close();
    EXPECT_TRUE(transport.Connect("127.0.0.1", port));
    transport.Send("lost");
    QTest::qWait(100);
    EXPECT_EQ(transport.Receive(), "");
    transport.Send("lost again");
    EXPECT_EQ(transport.Receive(), "");
}

TEST_F(SocketTransportTest, ConnectRefusesWhatIsNoIpv4AddressOrPort) {
    EXPECT_FALSE(transport.Connect("999.1.1.1", 10001));
    EXPECT_FALSE(transport.Connect("localhost", 10001));
    EXPECT_FALSE(transport.Connect("::1", 10001));
    EXPECT_FALSE(transport.Connect("127.0.0.1", 0));
    EXPECT_FALSE(transport.Connect("127.0.0.1", 70000));
    EXPECT_EQ(transport.Receive(), "");
    transport.Send("nowhere");
}

TEST_F(SocketTransportTest, PeerClosingIsNotReportedAndCloseEndsTheConnection) {
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    peer->write("last");
    peer->flush();
    EXPECT_EQ(ReceiveAll(4), "last");
    peer->close();
    QTest::qWait(50);
    EXPECT_EQ(transport.Receive(), "");
    transport.Send("after close");

    QTcpSocket* second = Accept();
    ASSERT_NE(second, nullptr);
    transport.Close();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return second->state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    EXPECT_EQ(transport.Receive(), "");
}
