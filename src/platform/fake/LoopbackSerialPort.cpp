#include "platform/fake/LoopbackSerialPort.h"

#include <algorithm>

#include "basic/Errors.h"

namespace movra {

struct LoopbackSerialPort::Registry {
    LoopbackSerialPortFactory* factory = nullptr;
    std::vector<LoopbackSerialPort*> ports;
};

LoopbackSerialPortFactory::LoopbackSerialPortFactory() : registry_(std::make_shared<LoopbackSerialPort::Registry>()) {
    registry_->factory = this;
}

// Ports may outlive their factory; they then keep only the basic checks.
LoopbackSerialPortFactory::~LoopbackSerialPortFactory() { registry_->factory = nullptr; }

std::unique_ptr<SerialPort> LoopbackSerialPortFactory::CreateSerialPort() {
    auto port = std::make_unique<LoopbackSerialPort>();
    port->registry_ = registry_;
    registry_->ports.push_back(port.get());
    return port;
}

void LoopbackSerialPortFactory::NameDevice(int portNumber, const std::string& device) {
    deviceNames[portNumber] = device;
    if (std::find(devices.begin(), devices.end(), device) != devices.end())
        existingPorts.insert(portNumber);
    else
        existingPorts.erase(portNumber);
}

std::vector<LoopbackSerialPort*> LoopbackSerialPortFactory::Ports() const { return registry_->ports; }

LoopbackSerialPort* LoopbackSerialPortFactory::LastPort() const {
    return registry_->ports.empty() ? nullptr : registry_->ports.back();
}

LoopbackSerialPort::~LoopbackSerialPort() {
    if (auto registry = registry_.lock()) std::erase(registry->ports, this);
}

void LoopbackSerialPort::Open(int number, const std::string& settingsString) {
    auto registry = registry_.lock();
    if (open_) throw RuntimeError(SerialErrorPortOpen, SerialTextPortOpen);
    if (registry && registry->factory) {
        const auto& factory = *registry->factory;
        if (!factory.existingPorts.contains(number)) throw RuntimeError(SerialErrorBadPort, SerialTextBadPort);
        if (factory.busyPorts.contains(number)) throw RuntimeError(SerialErrorPortOpen, SerialTextPortOpen);
        for (const LoopbackSerialPort* other : registry->ports)
            if (other != this && other->open_ && other->portNumber == number)
                throw RuntimeError(SerialErrorPortOpen, SerialTextPortOpen);
    } else if (number < 1) {
        throw RuntimeError(SerialErrorBadPort, SerialTextBadPort);
    }
    auto parsed = ParseSerialSettings(settingsString);
    if (!parsed) throw RuntimeError(380);
    settings = *parsed;
    settingsText = settingsString;
    portNumber = number;
    open_ = true;
    ++openCount;
}

void LoopbackSerialPort::Close() {
    open_ = false;
    input_.clear();
}

std::string LoopbackSerialPort::Read(int maxBytes) {
    size_t count = maxBytes <= 0 ? input_.size() : std::min(input_.size(), static_cast<size_t>(maxBytes));
    std::string taken = input_.substr(0, count);
    input_.erase(0, count);
    return Counted(std::move(taken));
}

void LoopbackSerialPort::Write(const std::string& bytes) {
    if (open_) written += bytes;
}

bool LoopbackSerialPort::Inject(const std::string& bytes) {
    if (!open_) return false;
    input_ += bytes;
    if (onReceive) onReceive();
    return true;
}

void LoopbackSerialPort::HangUp() {
    if (!open_) return;
    Close();
    if (onLost) onLost();
}

std::string LoopbackSerialPort::TakeWritten() {
    std::string taken;
    taken.swap(written);
    return taken;
}

}  // namespace movra
