#pragma once
// The engine of the lazy right folds (core::foldr, core::foldr1,
// foldrMap1 and the lazy semigroups' mconcat): a fold that hands the rest of
// the fold to the caller's function as a deferred value, core::Lazy<B>.
//
// A function that ignores the rest stops the fold at once, also on an
// unbounded List. A function that demands the rest makes the fold nest one
// demand per element; deep nesting continues on fresh stack segments (see
// Core/Lazy.h), so folding millions of elements this way needs memory in
// proportion to the depth but does not overflow the stack.
//
// Cursors walk a structure: `done()`, `get()` (the element) and `next()`.
// The structure must stay alive as long as any deferred rest, which may
// outlive the call that made it: a cursor keeps it alive itself, or (a
// borrowed List cursor) the fold's context holds the list for it.
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Lazy.h"
#include "Core/List.h"

namespace core::detail {

// A cursor over a core::List (the list's cells keep themselves alive).
template <class A>
struct ListCursor {
    List<A> rest;
    bool done() const { return rest.null(); }
    const A& get() const { return rest.head(); }
    ListCursor next() const { return ListCursor{rest.tail()}; }
};

// A cursor that borrows the List handle it stands at instead of holding a
// count on its cell, so that moving it changes no count. It is valid only
// while the list is kept alive elsewhere: lazyFoldrList and
// lazyFoldr1List keep a handle to the first cell in the fold's context,
// which every deferred rest holds, and every cell the cursors reach hangs
// from that one.
template <class A>
struct BorrowedListCursor {
    const List<A>* rest;
    bool done() const { return rest->null(); }
    const A& get() const { return rest->head(); }
    BorrowedListCursor next() const { return BorrowedListCursor{&rest->tail()}; }
};

// A cursor over a shared, immutable vector.
template <class A>
struct VectorCursor {
    std::shared_ptr<const std::vector<A>> v;
    std::size_t i;
    bool done() const { return i >= v->size(); }
    const A& get() const { return (*v)[i]; }
    VectorCursor next() const { return VectorCursor{v, i + 1}; }
};

// The fold's constant parts: the function f(element, Lazy<B> rest) -> B and
// End, which gives the value at the end from the cursor at which `done()`
// became true, or (for foldr1) from the cursor of the last element. Shared
// by every deferred rest of one fold through a SharedRef, so that a rest
// captures one pointer and its cursor.
template <class B, class F, class End>
struct LazyFoldCtx {
    F f;
    End end;
    bool stopAtLast;  // foldr1: the last element is the end value
};
template <class Ctx>
using LazyFoldCtxRef = SharedRef<Ctx>;

template <class B, class Cur, class Ctx>
B lazyFoldStep(LazyFoldCtxRef<Ctx>& ctx, const Cur& c);

// The deferred fold from cursor c onwards. Its function runs at most once,
// and hands its hold on the context on to the next rest (see below).
template <class B, class Cur, class Ctx>
Lazy<B> lazyFoldFrom(LazyFoldCtxRef<Ctx> ctx, Cur c) {
    return Lazy<B>::fromFunction(
        [ctx = std::move(ctx), c = std::move(c)]() mutable -> B { return lazyFoldStep<B>(ctx, c); });
}

template <class Cur, class Ctx>
bool lazyFoldAtEnd(const Ctx& ctx, const Cur& c) {
    return ctx.stopAtLast ? c.next().done() : c.done();
}

// One step: f(element, rest). The context moves into the rest instead of
// being shared with it (two atomic count changes fewer per element); the
// rest is a local here, so it, and with it the context and f, outlives the
// call of f even when f drops its own copy.
template <class B, class Cur, class Ctx>
B lazyFoldStep(LazyFoldCtxRef<Ctx>& ctx, const Cur& c) {
    if (lazyFoldAtEnd(*ctx, c)) return ctx->end(c);
    const Ctx* shared = &*ctx;
    const Lazy<B> rest = lazyFoldFrom<B>(std::move(ctx), c.next());
    return shared->f(c.get(), rest);
}

// Starts a fold: its context, of f and end, and its first cursor,
// start(context), made once the context has its place (a borrowed cursor
// points into it). A foldr over an empty structure is its end value at
// once.
template <class B, class F, class End, class Start>
Lazy<B> lazyFoldBegin(F f, End end, bool stopAtLast, Start start) {
    using Ctx = LazyFoldCtx<B, F, End>;
    LazyFoldCtxRef<Ctx> ctx(Ctx{std::move(f), std::move(end), stopAtLast});
    auto c = start(*ctx);
    if (!stopAtLast && c.done()) return now(ctx->end(c));
    return lazyFoldFrom<B>(std::move(ctx), std::move(c));
}

// The end values: foldr's start z, and foldrMap1's fl(the last element).
template <class Cur, class B>
auto endWith(Lazy<B> z) {
    return [z = std::move(z)](const Cur&) -> B { return z.force(); };
}
template <class Cur, class B, class FL>
auto endMapping(FL fl) {
    return [fl = std::move(fl)](const Cur& last) -> B { return fl(last.get()); };
}
inline constexpr auto itself = [](const auto& x) { return x; };

// foldr f z over the cursor: f receives each element and the deferred rest.
template <class B, class Cur, class F>
Lazy<B> lazyFoldr(F f, Lazy<B> z, Cur c) {
    return lazyFoldBegin<B>(std::move(f), endWith<Cur>(std::move(z)), false,
                            [&c](const auto&) { return std::move(c); });
}

// foldrMap1 fl f over the cursor, which must not be done: the last element
// x gives fl(x), and every other element x gives f(x, rest).
template <class B, class Cur, class FL, class F>
Lazy<B> lazyFoldrMap1(FL fl, F f, Cur c) {
    return lazyFoldBegin<B>(std::move(f), endMapping<Cur, B>(std::move(fl)), true,
                            [&c](const auto&) { return std::move(c); });
}

// foldr1 f over the cursor, which must not be done: the last element is
// the initial accumulator.
template <class A, class Cur, class F>
Lazy<A> lazyFoldr1(F f, Cur c) {
    return lazyFoldrMap1<A>(itself, std::move(f), std::move(c));
}

// The end of a fold over a List walked by borrowed cursors, with the handle
// to the list's first cell that keeps the borrowed cells alive.
template <class End, class A>
struct EndKeepingList {
    End end;
    List<A> root;
    decltype(auto) operator()(const BorrowedListCursor<A>& c) const { return end(c); }
};
template <class A>
BorrowedListCursor<A> borrowFirst(const auto& ctx) {
    return BorrowedListCursor<A>{&ctx.end.root};
}

// foldr and foldr1 over a List. When the result is a plain value, which
// cannot hold a deferred rest, the rests borrow the list's cells: no count
// changes per element. The price is that a rest still held keeps the whole
// list alive, not just the cells after it; a result that may hold rests
// (a lazily built list) keeps the owning cursor, so that it does not.
template <class B, class A, class F>
Lazy<B> lazyFoldrList(F f, Lazy<B> z, const List<A>& xs) {
    if constexpr (std::is_trivially_copyable_v<B>) {
        auto end = endWith<BorrowedListCursor<A>>(std::move(z));
        return lazyFoldBegin<B>(std::move(f), EndKeepingList<decltype(end), A>{std::move(end), xs}, false,
                                [](const auto& ctx) { return borrowFirst<A>(ctx); });
    } else {
        return lazyFoldr<B>(std::move(f), std::move(z), ListCursor<A>{xs});
    }
}
template <class A, class F>
Lazy<A> lazyFoldr1List(F f, const List<A>& xs) {
    if constexpr (std::is_trivially_copyable_v<A>) {
        auto end = endMapping<BorrowedListCursor<A>, A>(itself);
        return lazyFoldBegin<A>(std::move(f), EndKeepingList<decltype(end), A>{std::move(end), xs}, true,
                                [](const auto& ctx) { return borrowFirst<A>(ctx); });
    } else {
        return lazyFoldr1<A>(std::move(f), ListCursor<A>{xs});
    }
}

}  // namespace core::detail
