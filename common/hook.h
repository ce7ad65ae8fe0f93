// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <utility>

// Steps of a window that wait for the user (a dialog it opens, a window it shows and
// waits on) can be answered by a function instead: tests and benchmarks set one through
// the window's SetXxxHook. Each hook lives in the slot named by its setter, so two hooks
// of the same signature never share one.

namespace hookdetail {
template <typename Setter> struct HookOf;
template <typename Hook> struct HookOf<void (*)(Hook)> {
    using type = Hook;
};
} // namespace hookdetail

/// The hook that Setter sets; empty until it is set.
template <auto Setter> auto& hookSlot()
{
    static typename hookdetail::HookOf<decltype(Setter)>::type hook;
    return hook;
}
