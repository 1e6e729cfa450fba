#pragma once
// Integer handles (> 0) for objects behind a facade: a handle is never reused while the
// process runs, and an unknown handle finds nothing.
#include <map>
#include <memory>

namespace mvx {

template <typename T>
class HandleTable final
{
public:
    int add(std::shared_ptr<T> object)
    {
        if (!object)
            return 0;
        const int handle = m_next++;
        m_objects.emplace(handle, std::move(object));
        return handle;
    }
    [[nodiscard]] T *find(int handle) const
    {
        const auto it = m_objects.find(handle);
        return it == m_objects.end() ? nullptr : it->second.get();
    }
    bool remove(int handle) { return m_objects.erase(handle) > 0; }
    [[nodiscard]] int size() const { return int(m_objects.size()); }

private:
    std::map<int, std::shared_ptr<T>> m_objects;
    int m_next = 1;
};

} // namespace mvx
