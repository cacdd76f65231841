#pragma once

#include <memory>

namespace tessora::db::interno {

// Gives up a Firebird interface: release() for a reference-counted one, dispose() for the
// others (status, parameter-block builder). Defined where the interfaces are complete.
template <typename T>
struct Soltar {
    void operator()(T* objeto) const noexcept;
};

// The one owner of a Firebird interface in the database layer, so that no path loses one.
template <typename T>
using Ref = std::unique_ptr<T, Soltar<T>>;

}  // namespace tessora::db::interno
