#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>
#include <string>

namespace torrenta {

// Standard output for torrenta-cli: a stream buffer over a file descriptor
// that keeps the reason its first failed write gave. std::cout's buffer
// forgets it, and "cannot write the output" is worth more with "No space left
// on device" after it.
class OutputBuffer : public std::streambuf {
  public:
    explicit OutputBuffer(int fd);
    ~OutputBuffer() override;
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // The errno of the first write that failed; 0 while none did.
    int Failure() const { return failure_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool Drain();

    int fd_;
    int failure_ = 0;
    std::array<char, 8192> buffer_{};
};

// Why writing to `out` failed, as ": reason" when its buffer is an
// OutputBuffer that knows; "" otherwise.
std::string OutputFailureReason(const std::ostream& out);

}  // namespace torrenta
