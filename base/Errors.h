#pragma once
// The exception types of Velmora. They carry the path or the detail that a message box or
// the command line shows; they are caught only at the edges (cli/, ui/).

#include <stdexcept>
#include <string>

namespace velmora {

/// Base of every Velmora exception.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A file operation failed: cannot open, read, write, rename or create a folder.
/// The message holds the system's error text and the path.
class IoError : public Error {
public:
    IoError(const std::string& what, const std::string& path, int errnoValue = 0);
    const std::string& Path() const noexcept { return FPath; }

private:
    std::string FPath;
};

/// A file exists but its content cannot be used (damaged, unsupported, too large).
class InvalidFile : public Error {
public:
    InvalidFile(const std::string& what, const std::string& path);
    const std::string& Path() const noexcept { return FPath; }

private:
    std::string FPath;
};

/// A value given by the user or a caller is outside what the operation accepts.
class InvalidArgument : public Error {
public:
    using Error::Error;
};

}  // namespace velmora
