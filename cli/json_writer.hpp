// JSON text written straight into a string the caller reuses, byte for byte as nlohmann::json's
// dump() writes the same values: no blanks, UTF-8 kept as it is, numbers in the same forms.
#pragma once

#include <nlohmann/json.hpp>

#include <concepts>
#include <string>
#include <string_view>

namespace vantora::cli {

/// Appends JSON to `out`. Members and elements are separated by "," without blanks; a key is
/// followed by ":". Strings keep their UTF-8; '"', '\\' and control characters are escaped as
/// dump() escapes them, and a string that is not valid UTF-8 is written as dump() with
/// error_handler_t::replace writes it (each bad sequence becomes U+FFFD). Doubles are written by
/// the same shortest round-trip conversion as dump() ("2.0", "0.1", "1e-05", "-0.0"), infinities
/// and NaN as null. The writer does not check that objects and arrays are closed.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out)
        : out_(out) {}

    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array() { open('['); }
    void end_array() { close(']'); }

    /// The name of the next member of the open object.
    void key(std::string_view name);

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
    void write_signed(long long n);
    void write_unsigned(unsigned long long n);
    void write_string(std::string_view text);

    std::string& out_;
    bool need_comma_ = false; ///< a value was written in the open container
};

} // namespace vantora::cli
