#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

// Notifications between widgets: a signal calls every connected slot with its
// arguments. Emitting copies the slot list under the signal's mutex and calls
// the slots outside it, so a slot may connect or disconnect freely.
// Disconnecting waits until a call of that slot running on another thread has
// finished. Only standard types are used, so every unit of the program, with
// or without the Windows macros, sees one layout.
namespace QX::NWL {

namespace DETAIL {

struct SignalSlotBase {
    // Held while the slot runs; recursive so that a slot may disconnect itself.
    std::recursive_mutex running;
    bool connected = true;
};

struct SignalState {
    std::mutex mutex;
    std::vector<std::shared_ptr<SignalSlotBase>> slots;

    void remove(const SignalSlotBase* slot) {
        std::lock_guard lock(mutex);
        std::erase_if(slots, [slot](const auto& entry) { return entry.get() == slot; });
    }
};

}  // namespace DETAIL

// A handle of one connection; copies name the same connection. Disconnecting
// a connection whose signal is gone does nothing.
class SignalConnection {
public:
    SignalConnection() = default;
    SignalConnection(std::weak_ptr<DETAIL::SignalState> state, std::weak_ptr<DETAIL::SignalSlotBase> slot)
        : state_(std::move(state)), slot_(std::move(slot)) {}

    bool connected() const {
        auto slot = slot_.lock();
        return slot && slot->connected && !state_.expired();
    }

    void disconnect() {
        auto slot = slot_.lock();
        if (!slot)
            return;
        if (auto state = state_.lock())
            state->remove(slot.get());
        std::lock_guard wait(slot->running);
        slot->connected = false;
    }

private:
    std::weak_ptr<DETAIL::SignalState> state_;
    std::weak_ptr<DETAIL::SignalSlotBase> slot_;
};

// Disconnects its connection when it goes.
class ScopedSignalConnection {
public:
    ScopedSignalConnection() = default;
    ScopedSignalConnection(SignalConnection connection) : connection_(std::move(connection)) {}
    ScopedSignalConnection(ScopedSignalConnection&& other) noexcept
        : connection_(std::exchange(other.connection_, {})) {}
    ScopedSignalConnection& operator=(ScopedSignalConnection&& other) noexcept {
        if (this != &other) {
            connection_.disconnect();
            connection_ = std::exchange(other.connection_, {});
        }
        return *this;
    }
    ScopedSignalConnection(const ScopedSignalConnection&) = delete;
    ScopedSignalConnection& operator=(const ScopedSignalConnection&) = delete;
    ~ScopedSignalConnection() { connection_.disconnect(); }

    const SignalConnection& get() const { return connection_; }

private:
    SignalConnection connection_;
};

template <typename... Args>
class Signal {
public:
    using tSlot = std::function<void(Args...)>;

    Signal() : state_(std::make_shared<DETAIL::SignalState>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    // Disconnects every slot, waiting for calls running on other threads.
    ~Signal() { disconnectAll(); }

    SignalConnection connect(tSlot function) {
        auto slot = std::make_shared<Slot>(std::move(function));
        std::lock_guard lock(state_->mutex);
        state_->slots.push_back(slot);
        return SignalConnection(state_, slot);
    }

    void disconnectAll() {
        std::vector<std::shared_ptr<DETAIL::SignalSlotBase>> slots;
        {
            std::lock_guard lock(state_->mutex);
            slots.swap(state_->slots);
        }
        for (auto& slot : slots) {
            std::lock_guard wait(slot->running);
            slot->connected = false;
        }
    }

    std::size_t slotCount() const {
        std::lock_guard lock(state_->mutex);
        return state_->slots.size();
    }

    void operator()(Args... args) const {
        std::vector<std::shared_ptr<DETAIL::SignalSlotBase>> slots;
        {
            std::lock_guard lock(state_->mutex);
            slots = state_->slots;
        }
        for (auto& base : slots) {
            std::lock_guard running(base->running);
            auto& slot = static_cast<Slot&>(*base);
            if (slot.connected && slot.function)
                slot.function(args...);
        }
    }

private:
    struct Slot : DETAIL::SignalSlotBase {
        explicit Slot(tSlot f) : function(std::move(f)) {}
        tSlot function;
    };

    std::shared_ptr<DETAIL::SignalState> state_;
};

}  // namespace QX::NWL
