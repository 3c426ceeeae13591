#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"

namespace movra {

class LoopbackSerialPortFactory;

// A serial port with an instrument at the other end played by the test: the test injects the
// bytes the instrument sends, reads what the program wrote and sets the modem lines.
class LoopbackSerialPort : public SerialPort {
public:
    ~LoopbackSerialPort() override;

    void Open(int portNumber, const std::string& settings) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    int BytesAvailable() const override { return static_cast<int>(input_.size()); }
    int BytesToWrite() const override { return 0; }  // everything written goes out at once
    std::string Read(int maxBytes = 0) override;
    // Ignored while the port is closed, as nothing can go out.
    void Write(const std::string& bytes) override;
    void ClearInput() override { input_.clear(); }
    void ClearOutput() override {}
    bool CarrierDetect() const override { return open_ && carrierDetect; }
    bool ClearToSend() const override { return open_ && clearToSend; }
    bool DataSetReady() const override { return open_ && dataSetReady; }

    // The instrument sends bytes: they join the input and onReceive runs. Nothing arrives at a
    // closed port (false then).
    bool Inject(const std::string& bytes);
    // The device goes away: the port closes and onLost runs (only for an open port).
    void HangUp();
    // What the program wrote, and forget it.
    std::string TakeWritten();

    std::string written;
    bool carrierDetect = true;
    bool clearToSend = true;
    bool dataSetReady = true;
    int portNumber = 0;
    std::string settingsText;
    SerialSettings settings;
    int openCount = 0;

private:
    friend class LoopbackSerialPortFactory;
    struct Registry;
    std::weak_ptr<Registry> registry_;
    bool open_ = false;
    std::string input_;
};

// Makes loopback ports. Configuration decides which port numbers exist and which are taken by
// another program; two ports of one factory cannot open the same number.
class LoopbackSerialPortFactory : public SerialPortFactory {
public:
    LoopbackSerialPortFactory();
    ~LoopbackSerialPortFactory() override;
    LoopbackSerialPortFactory(const LoopbackSerialPortFactory&) = delete;
    LoopbackSerialPortFactory& operator=(const LoopbackSerialPortFactory&) = delete;
    std::unique_ptr<SerialPort> CreateSerialPort() override;
    std::vector<std::string> DeviceNames() override { return devices; }
    // A number named for one of `devices` exists from then on; one named for anything else not.
    void NameDevice(int portNumber, const std::string& device) override;

    std::set<int> existingPorts{1, 2, 3, 4};
    // The devices the machine offers, and the devices the numbers were named for.
    std::vector<std::string> devices{"/dev/ttyS0", "/dev/ttyUSB0"};
    std::map<int, std::string> deviceNames;
    std::set<int> busyPorts;  // open in another program: Open raises 8005

    // The ports made and not yet destroyed, oldest first.
    std::vector<LoopbackSerialPort*> Ports() const;
    // The newest live port, or null.
    LoopbackSerialPort* LastPort() const;

private:
    friend class LoopbackSerialPort;
    std::shared_ptr<LoopbackSerialPort::Registry> registry_;
};

}  // namespace movra
