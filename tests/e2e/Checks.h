#pragma once

#include <stdexcept>
#include <string>
#include <type_traits>

namespace tessaform::e2e {

// Raised when the run cannot go on: what the suite waited for never showed.
class Abort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Collects the outcome of every check, grouped by scenario, and prints each as it comes.
class Checks {
public:
    void Group(const std::string& name);
    bool Expect(bool ok, const std::string& what, const std::string& detail = {});
    template <typename T>
    bool ExpectEqual(const T& actual, const T& expected, const std::string& what) {
        return Expect(actual == expected, what,
                      "expected " + Text(expected) + ", saw " + Text(actual));
    }
    void Fail(const std::string& what, const std::string& detail) { Expect(false, what, detail); }

    int Passed() const { return passed_; }
    int Failed() const { return failed_; }
    const std::string& CurrentGroup() const { return group_; }

private:
    template <typename T>
    static std::string Text(const T& value) {
        if constexpr (std::is_convertible_v<T, std::string>) {
            return "\"" + std::string(value) + "\"";
        } else {
            return std::to_string(value);
        }
    }

    std::string group_;
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace tessaform::e2e
