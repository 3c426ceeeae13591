#pragma once
// An instrument or receiver on the far side of a pseudo-terminal: the program opens the slave by
// its path, the test writes what the device sends into the master, paced as a device sends it if
// need be, and closes the master to play a device that goes away.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace movra {

class PseudoTerminal {
public:
    PseudoTerminal() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
        // Raw, so that the bytes reach the program as sent; the slave stays open so that what is
        // written before the program opens it waits in the line.
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        name_ = name;
    }
    ~PseudoTerminal() {
        HangUp();
        if (slave_ >= 0) close(slave_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The slave's path; empty when no pseudo-terminal could be opened.
    const std::string& Name() const { return name_; }
    // Writes everything, letting the program read while the line is full.
    void Send(const std::string& bytes) {
        size_t at = 0;
        while (at < bytes.size() && master_ >= 0) {
            const ssize_t n = write(master_, bytes.data() + at, bytes.size() - at);
            if (n > 0)
                at += static_cast<size_t>(n);
            else if (errno == EAGAIN || errno == EINTR)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            else
                return;
        }
    }
    // Sends the bytes in chunks of the sizes given (taken in turn, over again), the event loop
    // running `gapMs` after each, as an instrument sends at its baud rate: about one byte a
    // millisecond at 9600 baud.
    void SendPaced(const std::string& bytes, const std::vector<size_t>& chunkSizes, int gapMs = 1) {
        size_t at = 0;
        for (size_t k = 0; at < bytes.size(); ++k) {
            const size_t n = chunkSizes.empty() ? 1 : std::max<size_t>(1, chunkSizes[k % chunkSizes.size()]);
            Send(bytes.substr(at, n));
            at += n;
            QEventLoop wait;
            QTimer::singleShot(gapMs, Qt::PreciseTimer, &wait, &QEventLoop::quit);
            wait.exec();
        }
    }
    // What the program wrote, as far as it has arrived.
    std::string Received() {
        std::string bytes;
        char buffer[256];
        for (ssize_t n; master_ >= 0 && (n = read(master_, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, static_cast<size_t>(n));
        return bytes;
    }
    // The device goes away, as a USB adapter pulled out: the far end closes.
    void HangUp() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

}  // namespace movra
