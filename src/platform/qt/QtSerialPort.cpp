#include "platform/qt/QtSerialPort.h"

#include <QSerialPortInfo>
#include <QSignalBlocker>
#include <algorithm>
#include <poll.h>

#include "basic/Errors.h"
#include "platform/SerialSettings.h"

namespace movra {

namespace {

// How often an open port looks whether its device is still there.
constexpr int HangUpWatchMs = 200;

// Errors after which the device is no longer there to read from.
bool DeviceGone(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::DeviceNotFoundError;
}

}  // namespace

QtSerialPort::QtSerialPort(std::map<int, std::string> names) : names_(std::move(names)) {
    QObject::connect(&port_, &QSerialPort::readyRead, [this] {
        if (onReceive) onReceive();
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        if (port_.isOpen() && DeviceGone(error)) Lose();
    });
    hangUpWatch_.setInterval(HangUpWatchMs);
    QObject::connect(&hangUpWatch_, &QTimer::timeout, [this] {
        if (port_.isOpen() && HungUp()) Lose();
    });
}

QtSerialPort::~QtSerialPort() {
    // No handler may run for a port that is going away.
    hangUpWatch_.stop();
    port_.disconnect();
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::HungUp() const {
    pollfd watched{static_cast<int>(port_.handle()), POLLIN, 0};
    if (watched.fd < 0 || poll(&watched, 1, 0) <= 0) return false;
    return (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void QtSerialPort::Lose() {
    hangUpWatch_.stop();
    port_.close();
    port_.clearError();
    // The owner hears of it from the event loop, not from inside the port's own signal; a port
    // destroyed meanwhile takes the call with it.
    QTimer::singleShot(0, &port_, [this] {
        if (onLost) onLost();
    });
}

std::string QtSerialPort::DeviceName(int portNumber) const {
    auto named = names_.find(portNumber);
    if (named != names_.end()) return named->second;
    if (portNumber < 1 || portNumber > 255) return {};
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

void QtSerialPort::Open(int portNumber, const std::string& settings) {
    if (port_.isOpen()) throw RuntimeError(SerialErrorPortOpen, SerialTextPortOpen);
    std::string device = DeviceName(portNumber);
    if (device.empty()) throw RuntimeError(SerialErrorBadPort, SerialTextBadPort);
    auto parsed = ParseSerialSettings(settings);
    if (!parsed) throw RuntimeError(380);

    port_.setPortName(QString::fromStdString(device));
    port_.setBaudRate(parsed->baud);
    switch (parsed->parity) {
        case 'E': port_.setParity(QSerialPort::EvenParity); break;
        case 'O': port_.setParity(QSerialPort::OddParity); break;
        case 'M': port_.setParity(QSerialPort::MarkParity); break;
        case 'S': port_.setParity(QSerialPort::SpaceParity); break;
        default: port_.setParity(QSerialPort::NoParity); break;
    }
    port_.setDataBits(static_cast<QSerialPort::DataBits>(std::clamp(parsed->dataBits, 5, 8)));
    port_.setStopBits(parsed->stopBits == 2     ? QSerialPort::TwoStop
                      : parsed->stopBits == 1.5 ? QSerialPort::OneAndHalfStop
                                                : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        QSerialPort::SerialPortError error = port_.error();
        port_.clearError();
        // A device that is not there is a bad port number; one that exists but cannot be had
        // (taken by another program, or refused) is reported as open elsewhere.
        if (error == QSerialPort::DeviceNotFoundError || error == QSerialPort::UnsupportedOperationError)
            throw RuntimeError(SerialErrorBadPort, SerialTextBadPort);
        throw RuntimeError(SerialErrorPortOpen, SerialTextPortOpen);
    }
    hangUpWatch_.start();
}

std::vector<std::string> QtSerialPortFactory::DeviceNames() {
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    std::sort(devices.begin(), devices.end());
    return devices;
}

void QtSerialPort::Close() {
    hangUpWatch_.stop();
    if (port_.isOpen()) port_.close();
}

int QtSerialPort::BytesAvailable() const {
    return port_.isOpen() ? static_cast<int>(std::min<qint64>(port_.bytesAvailable(), INT32_MAX)) : 0;
}

int QtSerialPort::BytesToWrite() const {
    return port_.isOpen() ? static_cast<int>(std::min<qint64>(port_.bytesToWrite(), INT32_MAX)) : 0;
}

std::string QtSerialPort::Read(int maxBytes) {
    if (!port_.isOpen()) return {};
    // What the device holds but the event loop has not fetched yet (a record that waited while the
    // port was closed) is taken too; the reader has it at once, so no receive event follows.
    if (port_.bytesAvailable() == 0) {
        QSignalBlocker quiet(&port_);
        port_.waitForReadyRead(0);
    }
    QByteArray bytes = maxBytes <= 0 ? port_.readAll() : port_.read(maxBytes);
    return Counted(bytes.toStdString());
}

void QtSerialPort::Write(const std::string& bytes) {
    if (!port_.isOpen() || bytes.empty()) return;
    port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void QtSerialPort::ClearInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

void QtSerialPort::ClearOutput() {
    if (port_.isOpen()) port_.clear(QSerialPort::Output);
}

bool QtSerialPort::CarrierDetect() const {
    return port_.isOpen() && (port_.pinoutSignals() & QSerialPort::DataCarrierDetectSignal);
}

bool QtSerialPort::ClearToSend() const {
    return port_.isOpen() && (port_.pinoutSignals() & QSerialPort::ClearToSendSignal);
}

bool QtSerialPort::DataSetReady() const {
    return port_.isOpen() && (port_.pinoutSignals() & QSerialPort::DataSetReadySignal);
}

}  // namespace movra
