#include "base/Errors.h"

#include <cstring>

namespace velmora {

namespace {
std::string JoinMessage(const std::string& what, const std::string& path, int errnoValue) {
    std::string text = what;
    if (errnoValue != 0) {
        text += ": ";
        text += std::strerror(errnoValue);
    }
    if (!path.empty()) {
        text += " (" + path + ")";
    }
    return text;
}
}  // namespace

IoError::IoError(const std::string& what, const std::string& path, int errnoValue)
    : Error(JoinMessage(what, path, errnoValue)), FPath(path) {}

InvalidFile::InvalidFile(const std::string& what, const std::string& path)
    : Error(JoinMessage(what, path, 0)), FPath(path) {}

}  // namespace velmora
