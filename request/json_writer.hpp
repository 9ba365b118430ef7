// JSON text written straight into a buffer the caller reuses, byte for byte as nlohmann::json's
// dump() writes the same values: no blanks, UTF-8 kept as it is, numbers in the same forms.
#pragma once

#include <nlohmann/json.hpp>

#include <concepts>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace vantora::request {

/// The bytes a JsonWriter writes: a buffer that grows by doubling and, unlike std::string, leaves
/// its new room uncleared, since the writer fills every byte it takes. Meant to be reused.
class JsonBuffer {
public:
    std::string_view view() const { return {data_.get(), size_}; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }

    /// Room for at least `n` more bytes, at the end; what is written there counts once commit()
    /// is called with the end of the written bytes.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    void commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

    void append(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        size_ += text.size();
    }
    void push_back(char c) {
        *room(1) = c;
        ++size_;
    }

private:
    void grow(std::size_t n);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0, capacity_ = 0;
};

/// Appends JSON to `out`. Members and elements are separated by "," without blanks; a key is
/// followed by ":". Strings keep their UTF-8; '"', '\\' and control characters are escaped as
/// dump() escapes them, and a string that is not valid UTF-8 is written as dump() with
/// error_handler_t::replace writes it (each bad sequence becomes U+FFFD). Doubles are written by
/// the same shortest round-trip conversion as dump() ("2.0", "0.1", "1e-05", "-0.0"), infinities
/// and NaN as null. The writer does not check that objects and arrays are closed.
class JsonWriter {
public:
    explicit JsonWriter(JsonBuffer& out)
        : out_(out) {}

    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array() { open('['); }
    void end_array() { close(']'); }

    /// The name of the next member of the open object: one of the program's own names, written as
    /// it is, so printable ASCII without '"' and '\\'.
    void key(std::string_view name) {
        // Inline, so that the copy of a literal name has a known size.
        char* out = out_.room(name.size() + 4);
        if (need_comma_) *out++ = ',';
        *out++ = '"';
        std::memcpy(out, name.data(), name.size());
        out += name.size();
        *out++ = '"';
        *out++ = ':';
        out_.commit(out);
        need_comma_ = false;
    }

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(const std::string& text) { value(std::string_view(text)); }
    void value(bool b);
    void value(double x);
    void value(std::nullptr_t);
    /// A value built with nlohmann::json, written by its own dump() (for members written rarely).
    void value(const nlohmann::ordered_json& v);
    template <std::integral Int>
    requires(!std::same_as<Int, bool>) void value(Int n) {
        before_value();
        if constexpr (std::signed_integral<Int>) {
            write_signed(static_cast<long long>(n));
        } else {
            write_unsigned(static_cast<unsigned long long>(n));
        }
    }

    /// One member: key(name), then value(v).
    template <class T> void member(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

private:
    void before_value() {
        if (need_comma_) out_.push_back(',');
        need_comma_ = true;
    }
    void open(char bracket) {
        before_value();
        out_.push_back(bracket);
        need_comma_ = false;
    }
    void close(char bracket) {
        out_.push_back(bracket);
        need_comma_ = true;
    }
    void write_string(std::string_view text);
    void write_signed(long long n);
    void write_unsigned(unsigned long long n);

    JsonBuffer& out_;
    bool need_comma_ = false; ///< a value was written in the open container
};

} // namespace vantora::request
