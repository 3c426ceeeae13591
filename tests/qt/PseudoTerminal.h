#pragma once
// An instrument or receiver on the far side of a pseudo-terminal: the program opens the slave by
// its path, the test writes what the device sends into the master.
#include <QApplication>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

#include "DialogTestHelpers.h"

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
        if (master_ >= 0) close(master_);
        if (slave_ >= 0) close(slave_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& Name() const { return name_; }
    // Writes everything, letting the program read while the line is full.
    void Send(const std::string& bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t n = write(master_, bytes.data() + at, bytes.size() - at);
            if (n > 0)
                at += static_cast<size_t>(n);
            else if (errno == EAGAIN || errno == EINTR)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            else
                return;
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

}  // namespace movra
