#pragma once
#include <QSerialPort>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialPort.h"

namespace movra {

// A serial port over QSerialPort. Port number N is the device "/dev/ttyS{N-1}" unless the
// factory's name table says otherwise (USB adapters: {5, "/dev/ttyUSB0"}).
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(std::map<int, std::string> names);
    ~QtSerialPort() override;

    void Open(int portNumber, const std::string& settings) override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    int BytesAvailable() const override;
    int BytesToWrite() const override;
    std::string Read(int maxBytes = 0) override;
    void Write(const std::string& bytes) override;
    void ClearInput() override;
    void ClearOutput() override;
    bool CarrierDetect() const override;
    bool ClearToSend() const override;
    bool DataSetReady() const override;

    // The device name a port number stands for; empty for a number no port can have.
    std::string DeviceName(int portNumber) const;

private:
    // Whether the device hung up: the far end of a pseudo-terminal closed, or the adapter gone.
    bool HungUp() const;
    // Closes the port of a device that went away and tells the owner from the event loop.
    void Lose();

    std::map<int, std::string> names_;
    mutable QSerialPort port_;
    // Not every Qt reports an error when a pseudo-terminal's far end closes (reads return nothing
    // and the port keeps waking the event loop), so an open port is watched for the hang-up itself.
    QTimer hangUpWatch_;
};

class QtSerialPortFactory : public SerialPortFactory {
public:
    std::unique_ptr<SerialPort> CreateSerialPort() override { return std::make_unique<QtSerialPort>(names); }
    // The system locations of the serial ports Qt finds ("/dev/ttyUSB0", "/dev/ttyS0").
    std::vector<std::string> DeviceNames() override;
    void NameDevice(int portNumber, const std::string& device) override { names[portNumber] = device; }
    std::map<int, std::string> names;
};

}  // namespace movra
