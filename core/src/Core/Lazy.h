#pragma once
// core::Lazy<T>: a memoised, thread-safe deferred value.
//
//   auto x = core::defer([] { return expensive(); });  // nothing runs yet
//   const auto& v = x.force();                         // runs once, here
//   x.force();                                         // the stored value
//
// The function runs at most once, on first demand, from whichever thread
// demands first; other threads demanding at the same time wait for it. The
// captured function is released as soon as the value is stored. A value
// that demands itself while it is being computed raises core::Error
// ("deferred value depends on itself") instead of deadlocking. If the
// function throws, every demand rethrows that exception.
//
// Copies of a Lazy share one state, so copying is cheap. `core::now(x)`
// builds an already evaluated value. Lazy<T> may name a T that is still
// incomplete (a recursive type), because the state lives behind a pointer.
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace core {

namespace detail {

// The part of a deferred value's state that does not depend on T: the
// evaluation protocol, implemented once in Lazy.cpp.
struct LazyBase {
    enum Status : std::uint8_t { Pending = 0, Running = 1, Done = 2, Failed = 3 };
    using RunFn = void (*)(LazyBase*);

    explicit LazyBase(RunFn r) noexcept : run(r) {}
    LazyBase(const LazyBase&) = delete;
    LazyBase& operator=(const LazyBase&) = delete;

    bool ready() const noexcept { return status.load(std::memory_order_acquire) == Done; }
    // Runs `run` once, or waits for the thread running it; rethrows a
    // stored failure; raises on a self-dependency.
    void evaluate();

    std::atomic<std::uint8_t> status{Pending};
    std::atomic<std::uintptr_t> owner{0};  // token of the evaluating thread
    RunFn run;
    std::exception_ptr error;
};

template <class T>
struct LazyState : LazyBase {
    explicit LazyState(RunFn r) noexcept : LazyBase(r) {}
    // Already evaluated.
    template <class... Args>
    explicit LazyState(std::in_place_t, Args&&... args) : LazyBase(nullptr), value(std::in_place, std::forward<Args>(args)...) {
        status.store(Done, std::memory_order_relaxed);
    }
    std::optional<T> value;
};

template <class T, class F>
struct LazyThunk final : LazyState<T> {
    explicit LazyThunk(F f) : LazyState<T>(&LazyThunk::step), fn(std::move(f)) {}
    static void step(LazyBase* b) {
        auto* self = static_cast<LazyThunk*>(b);
        self->value.emplace(std::move(*self->fn)());
        self->fn.reset();  // release what the function captured
    }
    std::optional<F> fn;
};

}  // namespace detail

template <class T>
class Lazy {
public:
    using value_type = T;

    // A Lazy must be built by core::defer or core::now.
    Lazy() = delete;

    const T& force() const {
        if (!s_->ready()) s_->evaluate();
        return *s_->value;
    }
    const T& operator*() const { return force(); }
    const T* operator->() const { return &force(); }
    // True once the value has been computed (by any thread).
    bool evaluated() const noexcept { return s_->ready(); }
    // True when both handles share one state.
    bool sameAs(const Lazy& o) const noexcept { return s_ == o.s_; }

    template <class F>
    static Lazy fromFunction(F&& f) {
        using Fn = std::decay_t<F>;
        return Lazy(std::make_shared<detail::LazyThunk<T, Fn>>(Fn(std::forward<F>(f))));
    }
    template <class... Args>
    static Lazy ready(Args&&... args) {
        return Lazy(std::make_shared<detail::LazyState<T>>(std::in_place, std::forward<Args>(args)...));
    }

private:
    template <class U>
    friend class List;
    explicit Lazy(std::shared_ptr<detail::LazyState<T>> s) noexcept : s_(std::move(s)) {}
    std::shared_ptr<detail::LazyState<T>> s_;
};

// A deferred value computed by f() on first demand.
template <class F>
auto defer(F&& f) -> Lazy<std::decay_t<std::invoke_result_t<F&>>> {
    return Lazy<std::decay_t<std::invoke_result_t<F&>>>::fromFunction(std::forward<F>(f));
}

// An already evaluated deferred value.
template <class T>
Lazy<std::decay_t<T>> now(T&& x) {
    return Lazy<std::decay_t<T>>::ready(std::forward<T>(x));
}

}  // namespace core
