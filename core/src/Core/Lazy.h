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
// Demands may nest: a value whose computation demands another, and so on.
// When such a chain comes near the end of the thread's stack, the next
// computation continues on a fresh stack segment (a helper thread with
// 32 MB of reserved address space, used on demand) while the demanding
// thread waits, so deep chains (a lazy right fold over millions of
// elements) are limited by memory, not by the thread's stack.
//
// A value that demands, from another thread, a value whose computation is
// (directly or through other threads) waiting for it would deadlock; the
// thread whose demand closes such a cycle raises the same error instead.
//
// Dropping the last handle frees the state, the captured function or the
// value, and whatever they hold. A chain of deferred values that hold one
// another (each capturing the previous one, list cells, ...) is freed in a
// loop, not by nested destructor calls, so chains of any length are
// released in constant stack.
//
// States come from per-thread slabs (Core/CellPool.h), so building and
// dropping many of them (list cells) avoids the general allocator; up to
// 64 MB of emptied slabs is kept for reuse.
//
// Copies of a Lazy share one state, so copying is cheap. `core::now(x)`
// builds an already evaluated value. Lazy<T> may name a T that is still
// incomplete (a recursive type), because the state lives behind a pointer.
#include <array>
#include <atomic>
#include <cassert>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "Core/CellPool.h"

namespace core {

namespace detail {

// The part of a deferred value's state that does not depend on T: the
// reference count and the evaluation protocol (implemented once, in
// Lazy.cpp). States are reference counted intrusively so that a deferred
// value is a single allocation and a handle is a single pointer; this
// keeps the cells of long lazy lists small. States live in the per-thread
// cell pool: list cells built one after another sit next to each other.
class LazyBase : public PooledCell {
public:
    // Claiming a Pending value (Pending to Running) is the one atomic
    // read-modify-write of an evaluation; Done or Failed is then a plain
    // store, and threads waiting for a Running value poll it while they
    // sleep (Lazy.cpp).
    enum Status : std::uint8_t { Pending = 0, Running = 1, Done = 2, Failed = 3 };

    LazyBase(const LazyBase&) = delete;
    LazyBase& operator=(const LazyBase&) = delete;

    bool ready() const noexcept { return status_.load(std::memory_order_acquire) == Done; }
    // Runs the computation once, or waits for the thread running it;
    // rethrows a stored failure; raises on a self-dependency.
    void evaluate();

    void retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
    // Drops one reference; frees the state with the last one. A count of
    // one is the caller's own reference, which no other thread can copy
    // while the caller drops it, so the state is freed without the
    // read-modify-write.
    // `valueIsPlain`: the value needs no destructor, so a computed state
    // has nothing to destroy and goes straight back to the pool.
    template <bool valueIsPlain = false>
    void release() const noexcept {
        if (refs_.load(std::memory_order_acquire) == 1 || refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            if (!valueIsPlain || !freeWithoutDestructors()) destroy(this);
        }
    }
    // Frees a computed state of which the caller holds the only reference,
    // without running its destructors, when they would only destroy the
    // value and the caller knows the value needs none (a list cell whose
    // tail it has detached, for instance); false, doing nothing, when the
    // state is not computed or not freed this way.
    bool freeWithoutDestructors() const noexcept {
        if (plainBytes_ == 0 || status_.load(std::memory_order_acquire) != Done) return false;
        cellFree(const_cast<LazyBase*>(this), plainBytes_);
        return true;
    }
    // True when exactly one handle refers to this state.
    bool unique() const noexcept { return refs_.load(std::memory_order_acquire) == 1; }

protected:
    explicit LazyBase(Status s) noexcept : status_(s) {}
    // Called by the constructor of the complete object: once it is Done,
    // its destructors do nothing but destroy the value (its function is
    // gone). Over-aligned objects are not pool blocks and keep the general
    // path.
    template <class Complete>
    void setPlainWhenDone() noexcept {
        if constexpr (sizeof(Complete) <= UINT8_MAX && alignof(Complete) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__)
            plainBytes_ = static_cast<std::uint8_t>(sizeof(Complete));
    }
    virtual ~LazyBase() = default;
    // Computes and stores the value, releasing the function (Pending only).
    virtual void compute() = 0;
    virtual void storeError(std::exception_ptr e) noexcept = 0;
    [[noreturn]] virtual void rethrowError() const = 0;
    Status status() const noexcept { return static_cast<Status>(status_.load(std::memory_order_acquire)); }

private:
    // Frees a state whose last reference is gone. A state freed while
    // another is being freed on this thread is queued and freed by the
    // outermost call, so freeing a chain never nests.
    static void destroy(const LazyBase* p) noexcept;
    // Waits while another thread computes this value; raises when that
    // thread (or one it waits for, and so on) waits for this thread.
    void waitForOtherThread();
    // The paths of evaluate() off its common one (Lazy.cpp).
    void evaluateSlow();
    void runClaimed();
    void fail(std::exception_ptr e) noexcept;

    mutable std::atomic<std::uint32_t> refs_{1};
    std::atomic<std::uint8_t> status_;
    // The size of the complete object when, once Done, only its value
    // needs destroying; 0 otherwise. Set once, before the state is shared.
    std::uint8_t plainBytes_ = 0;
};

template <class T>
class LazyState : public LazyBase {
public:
    // Already evaluated.
    template <class... Args>
    explicit LazyState(std::in_place_t, Args&&... args) : LazyBase(Done) {
        ::new (static_cast<void*>(&u_.value)) T(std::forward<Args>(args)...);
        // Built this way only as a complete object.
        this->template setPlainWhenDone<LazyState>();
    }
    // The value; only after a successful evaluation.
    T& value() noexcept { return u_.value; }

protected:
    LazyState() noexcept : LazyBase(Pending) {}
    ~LazyState() override {
        const Status s = status();
        if (s == Done)
            u_.value.~T();
        else if (s == Failed)
            u_.error.~exception_ptr();
    }
    void storeError(std::exception_ptr e) noexcept override {
        ::new (static_cast<void*>(&u_.error)) std::exception_ptr(std::move(e));
    }
    [[noreturn]] void rethrowError() const override { std::rethrow_exception(u_.error); }
    template <class F>
    void emplaceFrom(F& f) {
        ::new (static_cast<void*>(&u_.value)) T(f());
    }
    void emplace(T&& v) noexcept { ::new (static_cast<void*>(&u_.value)) T(std::move(v)); }
    void compute() override {}

    union Storage {
        Storage() noexcept {}
        ~Storage() {}
        T value;
        std::exception_ptr error;
    };
    // The first byte of the storage of the value, the last member: a
    // pending state's function may be kept in these bytes (and beyond, in
    // bytes its derived class adds), since the function is gone before the
    // value is stored (LazyThunk).
    std::byte* storageBytes() noexcept { return reinterpret_cast<std::byte*>(&u_); }

private:
    Storage u_;
};

// A pending state with its function f. When T moves without throwing, f
// is kept in the bytes where the value will go: the value is computed
// into a local, f is destroyed, and the value moved into place. A deferred
// value then takes the larger of the two instead of their sum (a lazily
// produced list cell, a fold's deferred rest: one pool size class down).
template <class T, class F>
class LazyThunk final : public LazyState<T> {
    using Storage = typename LazyState<T>::Storage;
    static constexpr bool shared = std::is_nothrow_move_constructible_v<T> && alignof(F) <= alignof(Storage);
    // Bytes past the storage that a shared f needs.
    static constexpr std::size_t extra = shared && sizeof(F) > sizeof(Storage) ? sizeof(F) - sizeof(Storage) : 0;
    struct NoBytes {};
    struct SeparateFn {
        SeparateFn() noexcept {}
        ~SeparateFn() {}
        union {
            F f;
        };
    };
    using Tail = std::conditional_t<!shared, SeparateFn,
                                    std::conditional_t<(extra > 0), std::array<std::byte, extra>, NoBytes>>;

public:
    explicit LazyThunk(F f) {
        // A shared f ends within this object: it starts at the storage,
        // the last bytes of the base, and runs on into tail_ right after.
        assert(fnBytes() + sizeof(F) <= reinterpret_cast<std::byte*>(this) + sizeof(LazyThunk));
        ::new (static_cast<void*>(fnBytes())) F(std::move(f));
        // Once Done, f has been destroyed by compute().
        this->template setPlainWhenDone<LazyThunk>();
    }
    ~LazyThunk() override {
        if (this->status() == LazyBase::Pending) fn().~F();
    }

private:
    std::byte* fnBytes() noexcept {
        if constexpr (shared)
            return this->storageBytes();
        else
            return reinterpret_cast<std::byte*>(&tail_.f);
    }
    F& fn() noexcept { return *std::launder(reinterpret_cast<F*>(fnBytes())); }

    void compute() override {
        // The function is released whether it returns or throws.
        struct Drop {
            F* f;
            ~Drop() {
                if (f) f->~F();
            }
        } drop{&fn()};
        if constexpr (shared) {
            T v((*drop.f)());
            drop.f->~F();
            drop.f = nullptr;
            this->emplace(std::move(v));
        } else {
            this->emplaceFrom(*drop.f);
        }
    }
    [[no_unique_address]] Tail tail_;
};

// An owning, nullable, intrusively counted pointer to a deferred state.
template <class T>
class LazyRef {
public:
    LazyRef() noexcept = default;
    explicit LazyRef(LazyState<T>* p) noexcept : p_(p) {}
    LazyRef(const LazyRef& o) noexcept : p_(o.p_) {
        if (p_) p_->retain();
    }
    LazyRef(LazyRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    LazyRef& operator=(const LazyRef& o) noexcept {
        LazyRef(o).swap(*this);
        return *this;
    }
    LazyRef& operator=(LazyRef&& o) noexcept {
        LazyRef(std::move(o)).swap(*this);
        return *this;
    }
    ~LazyRef() {
        if (p_) p_->template release<std::is_trivially_destructible_v<T>>();
    }
    // Frees the state without its destructors when its value needs none
    // beyond what the caller has done (see LazyBase::freeWithoutDestructors);
    // the caller holds the only reference.
    void freeTakenApart() noexcept {
        if (p_->freeWithoutDestructors()) p_ = nullptr;
    }
    void swap(LazyRef& o) noexcept { std::swap(p_, o.p_); }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    LazyState<T>* get() const noexcept { return p_; }
    LazyState<T>* operator->() const noexcept { return p_; }
    friend bool operator==(const LazyRef& a, const LazyRef& b) noexcept { return a.p_ == b.p_; }

    const T& force() const {
        if (!p_->ready()) p_->evaluate();
        return p_->value();
    }

private:
    LazyState<T>* p_ = nullptr;
};

// An owning pointer to an immutable T shared by count, one pointer wide
// (a std::shared_ptr takes two): what the deferred values of a lazy
// producer or fold share, such as its function, so that each of them stays
// in a small pool size class.
template <class T>
class SharedRef {
public:
    explicit SharedRef(T x) : p_(new Box{std::move(x), {1}}) {}
    SharedRef(const SharedRef& o) noexcept : p_(o.p_) { p_->refs.fetch_add(1, std::memory_order_relaxed); }
    SharedRef(SharedRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    SharedRef& operator=(const SharedRef&) = delete;
    SharedRef& operator=(SharedRef&&) = delete;
    // A count of one is this holder's own: no other thread can copy it
    // while it is dropped, so the box is freed without a read-modify-write.
    ~SharedRef() {
        if (p_ && (p_->refs.load(std::memory_order_acquire) == 1 ||
                   p_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1))
            delete p_;
    }
    const T& operator*() const noexcept { return p_->value; }
    const T* operator->() const noexcept { return &p_->value; }

private:
    struct Box {
        T value;
        std::atomic<std::size_t> refs;
    };
    Box* p_;
};

}  // namespace detail

template <class T>
class Lazy;
namespace detail {
template <class U>
inline constexpr bool isLazy = false;
template <class T>
inline constexpr bool isLazy<Lazy<T>> = true;
}  // namespace detail

template <class T>
class Lazy {
public:
    using value_type = T;

    // A Lazy must be built by core::defer or core::now.
    Lazy() = delete;

    const T& force() const { return s_.force(); }
    const T& operator*() const { return force(); }
    const T* operator->() const { return &force(); }
    // Converts to the value, forcing it.
    operator const T&() const { return force(); }
    // True once the value has been computed (by any thread).
    bool evaluated() const noexcept { return s_->ready(); }
    // True when both handles share one state.
    bool sameAs(const Lazy& o) const noexcept { return s_ == o.s_; }
    // Compares the value, forcing it, with a plain value it compares with
    // (`state == 6`, `name == "x"`; either side may come first).
    template <class U>
        requires(!detail::isLazy<U>) && requires(const T& t, const U& u) {
            { t == u } -> std::convertible_to<bool>;
        }
    friend bool operator==(const Lazy& a, const U& b) {
        return a.force() == b;
    }

    template <class F>
    static Lazy fromFunction(F&& f) {
        using Fn = std::decay_t<F>;
        return Lazy(detail::LazyRef<T>(new detail::LazyThunk<T, Fn>(Fn(std::forward<F>(f)))));
    }
    template <class... Args>
    static Lazy ready(Args&&... args) {
        return Lazy(detail::LazyRef<T>(new detail::LazyState<T>(std::in_place, std::forward<Args>(args)...)));
    }

private:
    template <class U>
    friend class List;
    explicit Lazy(detail::LazyRef<T> s) noexcept : s_(std::move(s)) {}
    detail::LazyRef<T> s_;
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

// core::LazyField<T>: the storage of a field that is built without being
// evaluated. It holds either a core::Lazy<T> (shared, computed on demand)
// or, for an already evaluated value of a small trivially copyable type,
// the value itself inline, so that fields built from plain values cost no
// allocation. T must be complete where LazyField<T> is used (recursive
// types use core::Lazy, which only needs T behind a pointer).
namespace detail {
// A small trivially copyable value or a shared deferred one, as a tagged
// union (std::variant's generic code trips GCC's uninitialised-use
// warnings when such fields nest).
template <class T>
class InlineOrLazy {
public:
    explicit InlineOrLazy(const T& x) noexcept : lazy_(false) { ::new (&u_.value) T(x); }
    explicit InlineOrLazy(Lazy<T> l) noexcept : lazy_(true) { ::new (&u_.deferred) Lazy<T>(std::move(l)); }
    InlineOrLazy(const InlineOrLazy& o) noexcept : lazy_(o.lazy_) {
        if (lazy_)
            ::new (&u_.deferred) Lazy<T>(o.u_.deferred);
        else
            ::new (&u_.value) T(o.u_.value);
    }
    InlineOrLazy& operator=(const InlineOrLazy& o) noexcept {
        if (this != &o) {
            this->~InlineOrLazy();
            ::new (this) InlineOrLazy(o);
        }
        return *this;
    }
    ~InlineOrLazy() {
        if (lazy_) u_.deferred.~Lazy<T>();
    }
    const T& force() const { return lazy_ ? u_.deferred.force() : u_.value; }
    const Lazy<T>* lazy() const noexcept { return lazy_ ? &u_.deferred : nullptr; }

private:
    union U {
        U() noexcept {}
        ~U() {}
        T value;
        Lazy<T> deferred;
    } u_;
    bool lazy_;
};
}  // namespace detail

template <class T>
class LazyField {
    static constexpr bool inlineable = std::is_trivially_copyable_v<T> && sizeof(T) <= 16;

public:
    using value_type = T;

    // An evaluated field.
    LazyField(const T& x) : v_(make(x)) {}
    LazyField(T&& x) : v_(make(std::move(x))) {}
    // A deferred field: shares the deferred value.
    LazyField(Lazy<T> l) : v_(std::move(l)) {}

    const T& force() const { return v_.force(); }
    const T& operator*() const { return force(); }
    const T* operator->() const { return &force(); }
    bool evaluated() const noexcept {
        const Lazy<T>* l = lazy();
        return !l || l->evaluated();
    }
    // The deferred value behind this field, if it is held as one.
    const Lazy<T>* lazy() const noexcept {
        if constexpr (inlineable)
            return v_.lazy();
        else
            return &v_;
    }
    // True when both fields share one deferred value.
    bool sameAs(const LazyField& o) const noexcept {
        const Lazy<T>* a = lazy();
        const Lazy<T>* b = o.lazy();
        return a && b && a->sameAs(*b);
    }

private:
    // Small trivially copyable values inline or a shared deferred value;
    // anything else always behind a (shared) deferred value.
    using Storage = std::conditional_t<inlineable, detail::InlineOrLazy<T>, Lazy<T>>;
    template <class U>
    static Storage make(U&& x) {
        if constexpr (inlineable)
            return Storage(static_cast<const T&>(x));
        else
            return Lazy<T>::ready(std::forward<U>(x));
    }
    Storage v_;
};

}  // namespace core
