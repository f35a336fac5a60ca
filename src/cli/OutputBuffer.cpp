#include "OutputBuffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace torrenta {

OutputBuffer::OutputBuffer(int fd) : fd_(fd) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

OutputBuffer::~OutputBuffer() {
    Drain();
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputBuffer::sync() {
    return Drain() ? 0 : -1;
}

bool OutputBuffer::Drain() {
    const char* next = pbase();
    bool written = failure_ == 0;
    while (written && next < pptr()) {
        const ssize_t count = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
        if (count >= 0) {
            next += count;
        } else if (errno != EINTR) {
            failure_ = errno;
            written = false;
        }
    }
    // What could not be written is dropped: a second try would only fail
    // again, after the message saying so.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

std::string OutputFailureReason(const std::ostream& out) {
    const auto* buffer = dynamic_cast<const OutputBuffer*>(out.rdbuf());
    if (buffer == nullptr || buffer->Failure() == 0) {
        return "";
    }
    return std::string(": ") + std::strerror(buffer->Failure());
}

}  // namespace torrenta
