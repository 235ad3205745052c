#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace koruba::cli {

// The output of a chunk: a growing byte buffer whose appends inline to a
// bounds check and a copy. A batch writes about a kilobyte per record in
// some thirty pieces, where the calls of std::string's appends add up.
class OutputBuffer {
public:
    OutputBuffer() = default;
    OutputBuffer(OutputBuffer&& other) noexcept
        : data_(std::move(other.data_)), size_(other.size_), capacity_(other.capacity_) {
        other.size_ = 0;
        other.capacity_ = 0;
    }
    OutputBuffer& operator=(OutputBuffer&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.size_ = 0;
        other.capacity_ = 0;
        return *this;
    }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void Put(char c) {
        Room(1);
        data_[size_++] = c;
    }
    void Put(std::string_view s) {
        Room(s.size());
        if (!s.empty()) {
            std::memcpy(data_.get() + size_, s.data(), s.size());
        }
        size_ += s.size();
    }
    void Reserve(std::size_t n) {
        if (n > capacity_) {
            Grow(n - size_);
        }
    }
    std::string_view View() const { return {data_.get(), size_}; }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    std::string Text() const { return std::string(View()); }
    // Empties the buffer but keeps its memory for the next chunk.
    void Clear() { size_ = 0; }

private:
    void Room(std::size_t n) {
        if (capacity_ - size_ < n) {
            Grow(n);
        }
    }
    void Grow(std::size_t n) {
        std::size_t capacity = capacity_ == 0 ? 4096 : capacity_ * 2;
        while (capacity - size_ < n) {
            capacity *= 2;
        }
        std::unique_ptr<char[]> data(new char[capacity]);
        if (size_ > 0) {
            std::memcpy(data.get(), data_.get(), size_);
        }
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace koruba::cli
