#pragma once
#include <functional>
#include <stdexcept>
#include <string>

namespace movra {

// The error numbers the program reports, as its users know them.
enum ErrorNumber : int {
    ErrReturnWithoutGosub = 3,
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscriptOutOfRange = 9,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,
    ErrBadFileNameOrNumber = 52,
    ErrFileNotFound = 53,
    ErrBadFileMode = 54,
    ErrFileAlreadyOpen = 55,
    ErrDeviceIo = 57,
    ErrFileExists = 58,
    ErrBadRecordLength = 59,
    ErrDiskFull = 61,
    ErrInputPastEnd = 62,
    ErrBadRecordNumber = 63,
    ErrBadFileName = 64,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
    ErrInvalidPropertyValue = 380,
    ErrObjectRequired = 424,
    ErrInvalidPicture = 481,
    ErrCancel = 32755,
};

// A failure with the number and the Chinese description the user is shown.
struct RuntimeError : std::runtime_error {
    int number;
    std::string description;
    RuntimeError(int number, std::string description);
    explicit RuntimeError(int number);  // with the standard description of the number
};

// The standard Chinese description of an error number ("下标越界" for 9); a general text otherwise.
std::string ErrorDescription(int number);

// Throws RuntimeError(number) with its standard description.
[[noreturn]] void Raise(int number);

// The three ways a guarded procedure reports a failure:
// - into the main window's message line: description followed directly by the number ("溢出6");
// - a message box with the description as text and the number as title;
// - silently.
// (basic/Guards.h holds the three guards.)
std::string MessageLineText(const RuntimeError& error);

// What the user is told of a file that could not be read to its end: the file's name, where
// reading stopped (`where`, from LineWhere or RecordWhere; empty when the file could not be read
// at all), the program's number and text, and what became of the open map (`outcome`).
std::string ReadStoppedText(const std::string& fileName, const std::string& where, const RuntimeError& error,
                            const std::string& outcome);
std::string LineWhere(long long line);      // "第12行"
std::string RecordWhere(long long record);  // "第3条记录"
inline constexpr const char* OpenMapKeptText = "打开的图未改变。";

}  // namespace movra
