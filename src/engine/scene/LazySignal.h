#pragma once

#include <boost/signals2/signal.hpp>

#include <cstddef>
#include <memory>
#include <utility>

namespace Strata
{

// A boost signal made on the first connect. An empty boost signal still takes a mutex, copies its
// shared state and walks its slot list on every call; a scene fires a signal at every node each
// frame and almost none has a slot, so firing before any connect is one pointer test, and a node
// holds no signal state it never uses. Main thread only, as the nodes that hold it.
template <class Signature>
class LazySignal
{
public:
    using Signal = boost::signals2::signal<Signature>;

    LazySignal() = default;
    LazySignal(const LazySignal&) = delete;
    LazySignal& operator=(const LazySignal&) = delete;

    template <class Slot>
    boost::signals2::connection connect(Slot&& slot)
    {
        if (!mSignal)
            mSignal = std::make_unique<Signal>();
        return mSignal->connect(std::forward<Slot>(slot));
    }

    template <class... Args>
    void operator()(Args&&... args)
    {
        if (mSignal)
            (*mSignal)(std::forward<Args>(args)...);
    }

    bool empty() const { return !mSignal || mSignal->empty(); }
    std::size_t num_slots() const { return mSignal ? mSignal->num_slots() : 0; }
    void disconnect_all_slots()
    {
        if (mSignal)
            mSignal->disconnect_all_slots();
    }

private:
    std::unique_ptr<Signal> mSignal;
};

} // namespace Strata
