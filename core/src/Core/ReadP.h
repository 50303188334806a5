#pragma once
// core::Reader<T>: a backtracking parser that returns every way to read a
// T from a prefix of the input, each with the position where the unread
// rest begins, in the order the alternatives produce them.
//
//   auto digit = core::satisfy([](core::Char c) { return c >= '0' && c <= '9'; });
//   auto r = core::many1(digit).run("123x");   // lengths 1, 2 and 3
//
// Semantics every combinator keeps:
//  - sequencing (`bind`, `then`) runs the next reader on the rest left by
//    every result of the first;
//  - symmetric choice (`alt`, operator|) keeps all results of both sides,
//    left ones first;
//  - committed choice (`orElse`) runs the right side only when the left
//    side yields nothing at all;
//  - `many`/`many1` offer every repetition count (fewest first); `munch`
//    and `manyGreedy` take only the longest.
//
// Readers also carry a precedence (0..11), the context in which a value is
// being read: `prec(n, r)` fails unless the context is at most n and runs r
// at n, `step` runs at one more, `reset` at 0, `parens` accepts any number
// of enclosing parentheses. A reader that ignores the precedence is an
// ordinary parser (the two usual vocabularies, ReadP and ReadPrec, are the
// same type here).
//
// Input is UTF-8 text; readers step over code points. Nesting is bounded
// by memory, not by the thread's stack: when the running readers come close
// to the end of the stack, the next one continues on a fresh stack segment
// (a helper thread with a large stack while this one waits). At most
// `maxReaderDepth` readers run nested; beyond that the innermost fails, and
// `readEither` reports "nesting too deep" instead of "no parse" when nothing
// could be read because of it. Each level of enclosing parentheses runs
// four readers, so a value inside up to 24,998 pairs of parentheses reads.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Types.h"

namespace core {

template <class T>
struct Parsed {
    T value;
    std::size_t rest;  // byte offset where the unread input begins
};
template <class T>
using Parses = std::vector<Parsed<T>>;

// How deeply readers may nest (each running reader is one level).
inline constexpr int maxReaderDepth = 100000;

namespace detail {
// True while the calling thread has a comfortable margin of stack left.
bool stackHasRoom() noexcept;
// Runs call(arg) on a fresh stack segment and waits for it; the reader
// nesting count carries over, an exception thrown by call is rethrown here.
void runReaderOnFreshStack(void (*call)(void*), void* arg);
// Counts the nesting of running readers on this thread; `exceeded` records
// that some reader failed because the nesting limit was reached (cleared by
// whoever wants to know, such as readEither).
struct ReaderDepth {
    static thread_local int depth;
    static thread_local bool exceeded;
    bool ok;
    ReaderDepth() noexcept : ok(++depth <= maxReaderDepth) {
        if (!ok) exceeded = true;
    }
    ~ReaderDepth() { --depth; }
};
// Decodes the code point at `pos` (U+FFFD and one byte for invalid bytes);
// returns its size in bytes, 0 at the end.
std::size_t decodeAt(std::string_view in, std::size_t pos, Char& out) noexcept;

// The results of `parens(r)` at each (reader, input, position, precedence)
// already read during one read. A value of a nested type inside many
// parentheses can be reached along many paths (each "(" may open the value
// or an enclosing pair of parentheses); sharing the results keeps reading
// it polynomial instead of growing with the number of paths. A table lives
// for the outermost `parens` call of a thread (and the fresh stack segments
// it continues on); each entry holds the reader, so its address stays its
// own for the table's lifetime.
struct ParseMemoKey {
    const void* reader;
    const void* type;
    const char* in;
    std::size_t size;
    std::size_t pos;
    int prec;
    bool operator==(const ParseMemoKey&) const = default;
};
class ParseMemo;
// The table of the running read on this thread, or null.
ParseMemo* currentParseMemo() noexcept;
void setCurrentParseMemo(ParseMemo* m) noexcept;
ParseMemo* newParseMemo();
void deleteParseMemo(ParseMemo* m) noexcept;
// The stored results for k, or null.
const std::shared_ptr<const void>* findParses(ParseMemo& m, const ParseMemoKey& k);
void storeParses(ParseMemo& m, const ParseMemoKey& k, std::shared_ptr<const void> results,
                 std::shared_ptr<const void> reader);
}  // namespace detail

template <class T>
class Reader {
public:
    using value_type = T;
    using Fn = std::function<Parses<T>(std::string_view, std::size_t, int)>;

    Reader() : f_(nullptr) {}  // the failing reader
    explicit Reader(Fn f) : f_(std::make_shared<const Fn>(std::move(f))) {}

    // All results from byte offset `pos` of `in`, at precedence `prec`.
    Parses<T> operator()(std::string_view in, std::size_t pos, int prec) const {
        if (!f_) return {};
        detail::ReaderDepth guard;
        if (!guard.ok) return {};
        if (detail::stackHasRoom()) return (*f_)(in, pos, prec);
        struct Job {
            const Fn* f;
            std::string_view in;
            std::size_t pos;
            int prec;
            Parses<T> out;
        } job{f_.get(), in, pos, prec, {}};
        detail::runReaderOnFreshStack([](void* p) {
            auto* j = static_cast<Job*>(p);
            j->out = (*j->f)(j->in, j->pos, j->prec);
        }, &job);
        return std::move(job.out);
    }
    // Every (value, unread rest) from the start of `in`, at precedence 0.
    std::vector<std::pair<T, std::string_view>> run(std::string_view in, int prec = 0) const {
        std::vector<std::pair<T, std::string_view>> out;
        for (auto& r : (*this)(in, 0, prec)) out.emplace_back(std::move(r.value), in.substr(r.rest));
        return out;
    }

    // The shared function behind this reader: copies of a reader share it,
    // and it stays alive as long as the returned pointer is held.
    std::shared_ptr<const void> identity() const noexcept { return f_; }

private:
    std::shared_ptr<const Fn> f_;
};

// Aliases for the two usual vocabularies of the same parser.
template <class T>
using ReadP = Reader<T>;
template <class T>
using ReadPrec = Reader<T>;

template <class T>
Reader<std::decay_t<T>> pureP(T&& x) {
    return Reader<std::decay_t<T>>(
        [x = std::forward<T>(x)](std::string_view, std::size_t pos, int) { return Parses<std::decay_t<T>>{{x, pos}}; });
}
template <class T>
Reader<T> pfail() {
    return Reader<T>();
}

// Runs f on every result of r, and the reader it returns on the rest.
template <class T, class F>
auto bindP(Reader<T> r, F f) -> std::invoke_result_t<F&, const T&> {
    using RB = std::invoke_result_t<F&, const T&>;
    using B = typename RB::value_type;
    return RB([r = std::move(r), f = std::move(f)](std::string_view in, std::size_t pos, int prec) mutable {
        Parses<B> out;
        for (auto& a : r(in, pos, prec)) {
            auto bs = f(a.value)(in, a.rest, prec);
            for (auto& b : bs) out.push_back(std::move(b));
        }
        return out;
    });
}
template <class T, class F>
auto mapP(F f, Reader<T> r) -> Reader<std::decay_t<std::invoke_result_t<F&, const T&>>> {
    using B = std::decay_t<std::invoke_result_t<F&, const T&>>;
    return Reader<B>([r = std::move(r), f = std::move(f)](std::string_view in, std::size_t pos, int prec) mutable {
        Parses<B> out;
        for (auto& a : r(in, pos, prec)) out.push_back({f(a.value), a.rest});
        return out;
    });
}
// a, then b; keeps b's value.
template <class A, class B>
Reader<B> thenP(Reader<A> a, Reader<B> b) {
    return bindP(std::move(a), [b = std::move(b)](const A&) { return b; });
}
// a, then b; keeps a's value.
template <class A, class B>
Reader<A> thenSkipP(Reader<A> a, Reader<B> b) {
    return bindP(std::move(a), [b = std::move(b)](const A& x) { return mapP([x](const B&) { return x; }, b); });
}
// Results of both sides, left first.
template <class T>
Reader<T> alt(Reader<T> a, Reader<T> b) {
    return Reader<T>([a = std::move(a), b = std::move(b)](std::string_view in, std::size_t pos, int prec) {
        Parses<T> out = a(in, pos, prec);
        for (auto& r : b(in, pos, prec)) out.push_back(std::move(r));
        return out;
    });
}
template <class T>
Reader<T> operator|(Reader<T> a, Reader<T> b) {
    return alt(std::move(a), std::move(b));
}
// The left side's results if it has any, else the right side's.
template <class T>
Reader<T> orElse(Reader<T> a, Reader<T> b) {
    return Reader<T>([a = std::move(a), b = std::move(b)](std::string_view in, std::size_t pos, int prec) {
        Parses<T> out = a(in, pos, prec);
        if (!out.empty()) return out;
        return b(in, pos, prec);
    });
}
// Symmetric choice among all.
template <class T>
Reader<T> choice(std::vector<Reader<T>> rs) {
    return Reader<T>([rs = std::move(rs)](std::string_view in, std::size_t pos, int prec) {
        Parses<T> out;
        for (const auto& r : rs)
            for (auto& x : r(in, pos, prec)) out.push_back(std::move(x));
        return out;
    });
}

// --- Characters and text -------------------------------------------------

// One code point.
Reader<Char> getP();
// The whole unread rest, consuming nothing.
Reader<std::string_view> lookP();
// Succeeds only at the end of the input.
Reader<Unit> eofP();
Reader<Char> charP(Char c);
// Exactly the text s (the empty text always succeeds).
Reader<std::string_view> stringP(std::string_view s);
Reader<Char> satisfy(std::function<bool(Char)> pred);
// The longest run (possibly empty) of code points satisfying pred: one result.
Reader<std::string_view> munch(std::function<bool(Char)> pred);
// As munch, but at least one code point.
Reader<std::string_view> munch1(std::function<bool(Char)> pred);
// Skips white space.
Reader<Unit> skipSpaces();

// --- Repetition ----------------------------------------------------------

// Zero or more r, every count as an alternative, fewest first. Loops, not
// recursion, so long repetitions do not deepen the stack.
template <class T>
Reader<std::vector<T>> manyMin(Reader<T> r, std::size_t min) {
    return Reader<std::vector<T>>([r = std::move(r), min](std::string_view in, std::size_t pos, int prec) {
        Parses<std::vector<T>> out, frontier{{{}, pos}};
        for (std::size_t n = 0; !frontier.empty(); ++n) {
            if (n >= min)
                for (const auto& f : frontier) out.push_back(f);
            Parses<std::vector<T>> next;
            for (auto& f : frontier)
                for (auto& x : r(in, f.rest, prec)) {
                    if (x.rest == f.rest && n >= min) continue;  // no progress: stop this branch
                    auto xs = f.value;
                    xs.push_back(std::move(x.value));
                    next.push_back({std::move(xs), x.rest});
                }
            frontier = std::move(next);
            if (n > in.size() + min) break;  // cannot make progress forever
        }
        return out;
    });
}
template <class T>
Reader<std::vector<T>> many(Reader<T> r) {
    return manyMin(std::move(r), 0);
}
template <class T>
Reader<std::vector<T>> many1(Reader<T> r) {
    return manyMin(std::move(r), 1);
}
// Repeats r as long as it succeeds (committed at each step): only the
// maximal repetitions are results.
template <class T>
Reader<std::vector<T>> manyGreedy(Reader<T> r) {
    return Reader<std::vector<T>>([r = std::move(r)](std::string_view in, std::size_t pos, int prec) {
        Parses<std::vector<T>> out, work{{{}, pos}};
        while (!work.empty()) {
            auto f = std::move(work.back());
            work.pop_back();
            auto xs = r(in, f.rest, prec);
            bool extended = false;
            for (auto i = xs.rbegin(); i != xs.rend(); ++i) {
                if (i->rest == f.rest) continue;  // no progress
                auto v = f.value;
                v.push_back(std::move(i->value));
                work.push_back({std::move(v), i->rest});
                extended = true;
            }
            if (!extended) out.push_back(std::move(f));
        }
        return out;
    });
}
// r, or x without consuming anything (both, as alternatives).
template <class T>
Reader<T> option(T x, Reader<T> r) {
    return alt(std::move(r), pureP(std::move(x)));
}
// r or nothing, discarding r's value.
template <class T>
Reader<Unit> optionalP(Reader<T> r) {
    return alt(mapP([](const T&) { return Unit{}; }, std::move(r)), pureP(Unit{}));
}
template <class O, class T, class C>
Reader<T> between(Reader<O> open, Reader<C> close, Reader<T> r) {
    return thenP(std::move(open), thenSkipP(std::move(r), std::move(close)));
}
// One or more r separated by sep, every count.
template <class T, class S>
Reader<std::vector<T>> sepBy1(Reader<T> r, Reader<S> sep) {
    auto rest = many(thenP(std::move(sep), r));
    return bindP(std::move(r), [rest](const T& x) {
        return mapP(
            [x](const std::vector<T>& xs) {
                std::vector<T> all{x};
                all.insert(all.end(), xs.begin(), xs.end());
                return all;
            },
            rest);
    });
}
template <class T, class S>
Reader<std::vector<T>> sepBy(Reader<T> r, Reader<S> sep) {
    return alt(pureP(std::vector<T>{}), sepBy1(std::move(r), std::move(sep)));
}
// Exactly n r.
template <class T>
Reader<std::vector<T>> count(std::size_t n, Reader<T> r) {
    return Reader<std::vector<T>>([r = std::move(r), n](std::string_view in, std::size_t pos, int prec) {
        Parses<std::vector<T>> frontier{{{}, pos}};
        for (std::size_t i = 0; i < n && !frontier.empty(); ++i) {
            Parses<std::vector<T>> next;
            for (auto& f : frontier)
                for (auto& x : r(in, f.rest, prec)) {
                    auto xs = f.value;
                    xs.push_back(std::move(x.value));
                    next.push_back({std::move(xs), x.rest});
                }
            frontier = std::move(next);
        }
        return frontier;
    });
}

// --- Precedence ----------------------------------------------------------

// Fails unless the context precedence is at most n; runs r at n.
template <class T>
Reader<T> prec(int n, Reader<T> r) {
    return Reader<T>([n, r = std::move(r)](std::string_view in, std::size_t pos, int p) {
        if (p > n) return Parses<T>{};
        return r(in, pos, n);
    });
}
// Runs r at one more than the context precedence.
template <class T>
Reader<T> step(Reader<T> r) {
    return Reader<T>([r = std::move(r)](std::string_view in, std::size_t pos, int p) { return r(in, pos, p + 1); });
}
// Runs r at precedence 0.
template <class T>
Reader<T> reset(Reader<T> r) {
    return Reader<T>([r = std::move(r)](std::string_view in, std::size_t pos, int) { return r(in, pos, 0); });
}
// Runs r at a fixed precedence, whatever the context.
template <class T>
Reader<T> atPrec(int n, Reader<T> r) {
    return Reader<T>([n, r = std::move(r)](std::string_view in, std::size_t pos, int) { return r(in, pos, n); });
}
// One punctuation token ("(", ")", "[", ...) after white space; see Core/Lex.h.
Reader<Unit> punc(std::string_view s);
// Reads "(" then r at precedence 0 then ")" (white space allowed around
// the parentheses).
template <class T>
Reader<T> paren(Reader<T> r) {
    return between(punc("("), punc(")"), reset(std::move(r)));
}
// r, or r enclosed in any number of parentheses (inside which the
// precedence is reset to 0).
template <class T>
Reader<T> parens(Reader<T> r) {
    return Reader<T>([r](std::string_view in, std::size_t pos, int p) {
        // The outermost call opens the table of shared results.
        struct Scope {
            detail::ParseMemo* memo = detail::currentParseMemo();
            bool owner = false;
            Scope() {
                if (!memo) {
                    memo = detail::newParseMemo();
                    owner = true;
                    detail::setCurrentParseMemo(memo);
                }
            }
            ~Scope() {
                if (!owner) return;
                detail::setCurrentParseMemo(nullptr);
                detail::deleteParseMemo(memo);
            }
        } scope;
        std::shared_ptr<const void> id = r.identity();
        static const char typeTag = 0;  // one address per T
        const detail::ParseMemoKey key{id.get(), &typeTag, in.data(), in.size(), pos, p};
        if (const auto* hit = detail::findParses(*scope.memo, key))
            return *static_cast<const Parses<T>*>(hit->get());
        // Results cut short by the nesting limit are not shared: along a
        // shallower path the same reader may still succeed.
        const bool outerExceeded = detail::ReaderDepth::exceeded;
        detail::ReaderDepth::exceeded = false;
        Parses<T> out = r(in, pos, p);
        for (auto& x : paren(parens(r))(in, pos, p)) out.push_back(std::move(x));
        const bool cut = detail::ReaderDepth::exceeded;
        detail::ReaderDepth::exceeded = outerExceeded || cut;
        if (!cut) detail::storeParses(*scope.memo, key, std::make_shared<const Parses<T>>(out), std::move(id));
        return out;
    });
}

}  // namespace core
