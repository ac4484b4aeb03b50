#pragma once

// The stand-in instrument and a real message broker, both in the test's temp folder.
#include "CliOnSim.h"
#include "TestBroker.h"

class BrokerOnSim : public CliOnSim
{
public:
    using Listener = TestBroker::Listener;

protected:
    TestBroker broker{dir.path()};
    int &port = broker.port;
    Listener &listener = broker.listener;

    void SetUp() override
    {
        if (!TestBroker::available())
            GTEST_SKIP() << "no mosquitto";
        CliOnSim::SetUp();
    }
    bool startBroker() { return broker.start(); }
    void stopBroker() { broker.stop(); }
    QString url() const { return broker.url(); }
    // live to the broker, with its buffer in the temp folder
    CliRun live(QStringList args, int timeoutMs = 30000, const std::function<void()> &inChild = {})
    {
        args = QStringList{"live", "--interval", "0.2", "--mqtt", url(), "--buffer-dir", path("buffer")} + args;
        return RunCli(args, dir.path(), timeoutMs, inChild);
    }
};
