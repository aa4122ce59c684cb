#include "production/MclFFmpeg.h"

#include <new>

namespace velmora::mcl {

std::string AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

AvError::AvError(const std::string& what, int code)
    : Error(what + ": " + AvErrorText(code)), FCode(code) {}

int AvCheck(int code, const char* what) {
    if (code < 0) throw AvError(what, code);
    return code;
}

TFramePtr MakeFrame() {
    TFramePtr frame(av_frame_alloc());
    if (!frame) throw std::bad_alloc();
    return frame;
}

TPacketPtr MakePacket() {
    TPacketPtr packet(av_packet_alloc());
    if (!packet) throw std::bad_alloc();
    return packet;
}

}  // namespace velmora::mcl
