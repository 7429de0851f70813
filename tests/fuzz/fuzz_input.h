// Reads typed values from a fuzzer's input, zeros once it runs out.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    template <typename T> T take() {
        T value{};
        const std::size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    const std::uint8_t* rest() const { return data_; }
    std::size_t rest_size() const { return size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A failed check ends the run, so libFuzzer keeps the input that broke it.
#define CHECK(cond)                \
    do {                           \
        if (!(cond)) std::abort(); \
    } while (0)
