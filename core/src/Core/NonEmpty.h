#pragma once
// core::NonEmpty<A>: a list with at least one element, a head and a
// possibly empty (and possibly unbounded) List as its tail.
//
//   core::NonEmpty<int> xs{1, {2, 3}};   // 1 :| [2, 3]
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <vector>

#include "Core/Error.h"
#include "Core/List.h"

namespace core {

template <class A>
struct NonEmpty {
    using value_type = A;
    A head;
    List<A> tail;

    NonEmpty(A h, List<A> t = {}) : head(std::move(h)), tail(std::move(t)) {}

    // The first element followed by the rest; nullopt for an empty list.
    static std::optional<NonEmpty> fromList(const List<A>& xs) {
        const auto& st = xs.step();
        if (!st) return std::nullopt;
        return NonEmpty(st->head, st->tail);
    }
    // Raises core::Error on an empty vector.
    static NonEmpty fromVector(const std::vector<A>& xs) {
        if (xs.empty()) raise("NonEmpty.fromList: empty list");
        return NonEmpty(xs.front(), List<A>::fromRange(xs.begin() + 1, xs.end()));
    }

    List<A> toList() const { return List<A>::cons(head, tail); }
    std::vector<A> toVector() const {
        std::vector<A> out{head};
        for (const A& x : tail) out.push_back(x);
        return out;
    }
    std::size_t length() const { return 1 + tail.length(); }

    friend bool operator==(const NonEmpty& a, const NonEmpty& b) {
        return a.head == b.head && a.tail == b.tail;
    }
    friend auto operator<=>(const NonEmpty& a, const NonEmpty& b)
        requires std::three_way_comparable<A>
    {
        if (auto c = a.head <=> b.head; c != 0) return c;
        return a.tail <=> b.tail;
    }
};

}  // namespace core
