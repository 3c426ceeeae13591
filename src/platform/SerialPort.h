#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace movra {

// A serial port as the survey instruments use it. Bytes are raw (the caller converts GBK).
// Open and the line settings follow the instrument's settings string "4800,N,8,1"
// (baud, parity N/E/O/M/S, data bits, stop bits).
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Throws RuntimeError 8002 for a port that does not exist and 8005 for one already open.
    virtual void Open(int portNumber, const std::string& settings) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual int BytesAvailable() const = 0;   // bytes waiting in the input buffer
    virtual int BytesToWrite() const = 0;     // bytes waiting in the output buffer
    // Takes up to maxBytes (all when maxBytes <= 0) from the input buffer.
    virtual std::string Read(int maxBytes = 0) = 0;
    // The bytes Read has taken since the port was made: how far its reader has got.
    std::uint64_t BytesRead() const { return bytesRead_; }
    virtual void Write(const std::string& bytes) = 0;
    virtual void ClearInput() = 0;
    virtual void ClearOutput() = 0;
    virtual bool CarrierDetect() const = 0;
    virtual bool ClearToSend() const = 0;
    virtual bool DataSetReady() const = 0;
    // Runs between events when bytes have arrived.
    std::function<void()> onReceive;
    // Runs between events when the device went away while open (a USB adapter pulled, the far end
    // of a pseudo-terminal closed): the port has closed itself by then and can be opened again.
    std::function<void()> onLost;

protected:
    // What Read hands out, counted.
    std::string Counted(std::string bytes) {
        bytesRead_ += bytes.size();
        return bytes;
    }

private:
    std::uint64_t bytesRead_ = 0;
};

class SerialPortFactory {
public:
    virtual ~SerialPortFactory() = default;
    virtual std::unique_ptr<SerialPort> CreateSerialPort() = 0;
    // The serial devices this machine offers, by the names the user knows them ("/dev/ttyUSB0").
    virtual std::vector<std::string> DeviceNames() { return {}; }
    // Makes the port number stand for the device in ports made from now on.
    virtual void NameDevice(int /*portNumber*/, const std::string& /*device*/) {}
};

}  // namespace movra
