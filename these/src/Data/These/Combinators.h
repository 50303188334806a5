#pragma once
// Combinators over these::These: selectors, predicates, list filters and
// maps of one side or one alternative.
//
// Every map here defers the caller's function: building the result never
// runs it, and each new value is computed once, on first demand. An
// alternative that a map does not touch is returned as the input value
// itself (sharing its fields).
#include <optional>
#include <utility>

#include "Data/These.h"

namespace these {

// --- Maps ---------------------------------------------------------------------

// This (f a), That (g b), These (f a) (g b): the Bifunctor map.
template <class A, class B, class F, class G>
auto bimapThese(F&& f, G&& g, const These<A, B>& t) {
    return core::bimap(std::forward<F>(f), std::forward<G>(g), t);
}
// Maps the left value wherever it is; a That keeps its right value.
template <class A, class B, class F>
auto mapHere(F&& f, const These<A, B>& t) {
    return core::first(std::forward<F>(f), t);
}
// Maps the right value wherever it is; a This keeps its left value.
template <class A, class B, class G>
auto mapThere(G&& g, const These<A, B>& t) {
    return core::second(std::forward<G>(g), t);
}
// The Bitraversable traversal: f's effect before g's.
template <class A, class B, class F, class G>
auto bitraverseThese(F&& f, G&& g, const These<A, B>& t) {
    return core::bitraverse(std::forward<F>(f), std::forward<G>(g), t);
}

// This a -> This (f a); anything else unchanged.
template <class A, class B, class F>
These<A, B> mapThis(F f, const These<A, B>& t) {
    if (!t.isThis()) return t;
    return These<A, B>::makeThis(detail::mapField([f = std::move(f)](const A& a) { return A(f(a)); }, t.leftField()));
}
// That b -> That (g b); anything else unchanged.
template <class A, class B, class G>
These<A, B> mapThat(G g, const These<A, B>& t) {
    if (!t.isThat()) return t;
    return These<A, B>::makeThat(detail::mapField([g = std::move(g)](const B& b) { return B(g(b)); }, t.rightField()));
}
// These a b -> These x y with (x, y) = h((a, b)); h runs once, when either
// new value is first demanded. Anything else unchanged.
template <class A, class B, class H>
These<A, B> mapThese(H h, const These<A, B>& t) {
    if (!t.isThese()) return t;
    Lazy<std::pair<A, B>> p = core::defer([h = std::move(h), a = t.leftField(), b = t.rightField()] {
        return std::pair<A, B>(h(std::pair<A, B>(a.force(), b.force())));
    });
    return These<A, B>::makeThese(LazyField<A>(core::defer([p] { return p.force().first; })),
                                  LazyField<B>(core::defer([p] { return p.force().second; })));
}

// --- Exchange and re-association ---------------------------------------------

template <class A, class B>
These<B, A> swapThese(const These<A, B>& t) {
    return core::swap(t);
}
// These<These<A, B>, C> -> These<A, These<B, C>>.
template <class A, class B, class C>
These<A, These<B, C>> assocThese(const These<These<A, B>, C>& t) {
    return core::assoc(t);
}
// These<A, These<B, C>> -> These<These<A, B>, C>; the inverse of assocThese.
template <class A, class B, class C>
These<These<A, B>, C> unassocThese(const These<A, These<B, C>>& t) {
    return core::unassoc(t);
}

// --- Selectors and predicates -------------------------------------------------

template <class A, class B>
std::optional<A> justHere(const These<A, B>& t) {
    return t.hasLeft() ? std::optional<A>(t.left()) : std::nullopt;
}
template <class A, class B>
std::optional<B> justThere(const These<A, B>& t) {
    return t.hasRight() ? std::optional<B>(t.right()) : std::nullopt;
}
template <class A, class B>
std::optional<A> justThis(const These<A, B>& t) {
    return t.isThis() ? std::optional<A>(t.left()) : std::nullopt;
}
template <class A, class B>
std::optional<B> justThat(const These<A, B>& t) {
    return t.isThat() ? std::optional<B>(t.right()) : std::nullopt;
}
template <class A, class B>
std::optional<std::pair<A, B>> justThese(const These<A, B>& t) {
    return t.isThese() ? std::optional<std::pair<A, B>>(std::pair<A, B>(t.left(), t.right())) : std::nullopt;
}

template <class A, class B>
bool hasHere(const These<A, B>& t) noexcept {
    return t.hasLeft();
}
template <class A, class B>
bool hasThere(const These<A, B>& t) noexcept {
    return t.hasRight();
}
template <class A, class B>
bool isThis(const These<A, B>& t) noexcept {
    return t.isThis();
}
template <class A, class B>
bool isThat(const These<A, B>& t) noexcept {
    return t.isThat();
}
template <class A, class B>
bool isThese(const These<A, B>& t) noexcept {
    return t.isThese();
}

// --- List filters (on demand, so they work on unbounded lists) ----------------

template <class A, class B>
core::List<A> catHere(const core::List<These<A, B>>& xs) {
    return detail::mapMaybeList<A>(xs, [](const These<A, B>& t) { return justHere(t); });
}
template <class A, class B>
core::List<B> catThere(const core::List<These<A, B>>& xs) {
    return detail::mapMaybeList<B>(xs, [](const These<A, B>& t) { return justThere(t); });
}
template <class A, class B>
core::List<A> catThis(const core::List<These<A, B>>& xs) {
    return detail::mapMaybeList<A>(xs, [](const These<A, B>& t) { return justThis(t); });
}
template <class A, class B>
core::List<B> catThat(const core::List<These<A, B>>& xs) {
    return detail::mapMaybeList<B>(xs, [](const These<A, B>& t) { return justThat(t); });
}
template <class A, class B>
core::List<std::pair<A, B>> catThese(const core::List<These<A, B>>& xs) {
    return detail::mapMaybeList<std::pair<A, B>>(xs, [](const These<A, B>& t) { return justThese(t); });
}

}  // namespace these
