#pragma once

#include "form/Component.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kolvane {

// Owns named components in creation order. The order is the order in which
// a project file lists them; look-up by name ignores ASCII case.
class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates a component inside `parent` (or at the top) and returns it.
    // Raises std::logic_error for a name already taken.
    template <typename T, typename... Args> T& add(Component* parent, Args&&... args) {
        auto c = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *c;
        adopt(std::move(c), parent);
        return ref;
    }

    Component* find(std::string_view name) const;
    template <typename T> T* findAs(std::string_view name) const {
        return dynamic_cast<T*>(find(name));
    }
    // Like findAs, but a missing component is a programming error.
    template <typename T> T& get(std::string_view name) const {
        T* c = findAs<T>(name);
        if (!c) missing(name);
        return *c;
    }

    const std::vector<std::unique_ptr<Component>>& components() const { return components_; }

    // True when `c` is `ancestor` or lies inside it.
    static bool IsInside(const Component& c, const Component& ancestor);

private:
    void adopt(std::unique_ptr<Component> c, Component* parent);
    [[noreturn]] static void missing(std::string_view name);
    static std::string Key(std::string_view name);

    std::vector<std::unique_ptr<Component>> components_;
    std::unordered_map<std::string, Component*> byName_;
};

} // namespace kolvane
