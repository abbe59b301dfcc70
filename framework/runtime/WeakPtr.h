#pragma once

#include "Ref.h"

#include <cstdint>

class Object;

// Shared between an object and its weak pointers; outlives the object while weak pointers remain.
struct WeakControl {
    Object* object;
    std::uint32_t weakCount;
};

WeakControl* RuntimeWeakControl(Object&);
void RuntimeWeakControlRetain(WeakControl*);
void RuntimeWeakControlRelease(WeakControl*);

// Does not keep its object alive: get() is nil once the object's last reference has gone.
template <class T> class WeakPtr {
public:
    WeakPtr() = default;
    WeakPtr(T* object)
        : m_control(object ? RuntimeWeakControl(*object) : nullptr)
    {
        if (m_control)
            RuntimeWeakControlRetain(m_control);
    }
    WeakPtr(const WeakPtr& other)
        : m_control(other.m_control)
    {
        if (m_control)
            RuntimeWeakControlRetain(m_control);
    }
    WeakPtr(WeakPtr&& other) noexcept
        : m_control(std::exchange(other.m_control, nullptr))
    {
    }
    ~WeakPtr()
    {
        if (m_control)
            RuntimeWeakControlRelease(m_control);
    }
    WeakPtr& operator=(WeakPtr other) noexcept
    {
        std::swap(m_control, other.m_control);
        return *this;
    }

    T* get() const { return m_control ? static_cast<T*>(m_control->object) : nullptr; }
    RefPtr<T> lock() const { return RefPtr<T>(get()); }
    explicit operator bool() const { return get() != nullptr; }

private:
    WeakControl* m_control = nullptr;
};
