#pragma once
// Sets a flag for the rest of a scope, also when the scope is left by an exception.

namespace velmo {

struct FlagScope {
    bool &flag;
    explicit FlagScope(bool &f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;
};

} // namespace velmo
