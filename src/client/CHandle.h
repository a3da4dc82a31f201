#pragma once

#include <memory>

// Owner of a handle a C library hands out, given back with the library's own `Release`.
template <auto Release> struct ReleaseWith {
    template <typename T> void operator()(T* handle) const { Release(handle); }
};
template <typename T, auto Release> using CHandle = std::unique_ptr<T, ReleaseWith<Release>>;
