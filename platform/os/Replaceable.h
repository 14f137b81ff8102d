#pragma once

#include <functional>
#include <utility>

namespace platform {

// A platform service that tests swap for a scripted stand-in (message boxes, the shell, the
// connection probe, the event log). Production code only ever calls it.
template <typename Signature> class Replaceable;

template <typename R, typename... Args> class Replaceable<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;

    explicit Replaceable(Function standard) : m_standard(std::move(standard)) {}

    R operator()(Args... args) const
    {
        return (m_current ? m_current : m_standard)(std::forward<Args>(args)...);
    }

    // Returns the function that was in place, so a caller can put it back.
    Function Replace(Function replacement)
    {
        Function previous = m_current ? m_current : m_standard;
        m_current = std::move(replacement);
        return previous;
    }

    void RestoreStandard() { m_current = nullptr; }

private:
    Function m_standard;
    Function m_current;
};

// Puts a replaced service back when a test scope ends, even when the test fails half-way.
template <typename Service> class ScopedReplacement {
public:
    ScopedReplacement(Service &service, typename Service::Function replacement)
        : m_service(service), m_previous(service.Replace(std::move(replacement)))
    {
    }
    ~ScopedReplacement() { m_service.Replace(std::move(m_previous)); }
    ScopedReplacement(const ScopedReplacement &) = delete;
    ScopedReplacement &operator=(const ScopedReplacement &) = delete;

private:
    Service &m_service;
    typename Service::Function m_previous;
};

} // namespace platform
