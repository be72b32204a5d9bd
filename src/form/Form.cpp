#include "form/Form.h"

#include <stdexcept>

namespace kolvane {

std::string Form::Key(std::string_view name) {
    std::string k(name);
    for (char& ch : k)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return k;
}

void Form::adopt(std::unique_ptr<Component> c, Component* parent) {
    std::string key = Key(c->name());
    if (byName_.count(key)) throw std::logic_error("duplicate component name " + c->name());
    c->owner_ = this;
    c->parent_ = parent;
    byName_.emplace(std::move(key), c.get());
    components_.push_back(std::move(c));
}

Component* Form::find(std::string_view name) const {
    auto it = byName_.find(Key(name));
    return it == byName_.end() ? nullptr : it->second;
}

void Form::missing(std::string_view name) {
    throw std::logic_error("no component named " + std::string(name));
}

bool Form::IsInside(const Component& c, const Component& ancestor) {
    for (const Component* p = &c; p; p = p->parent())
        if (p == &ancestor) return true;
    return false;
}

} // namespace kolvane
