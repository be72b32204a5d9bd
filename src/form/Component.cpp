#include "form/Component.h"

#include "model/Errors.h"

#include <algorithm>

namespace kolvane {

PropertyKind KindOf(const PropertyValue& v) {
    switch (v.index()) {
    case 0:
        return PropertyKind::Text;
    case 1:
        return PropertyKind::Integer;
    case 2:
        return PropertyKind::Enumeration;
    default:
        return PropertyKind::Float;
    }
}

Component::Component(std::string name) : name_(std::move(name)) {}
Component::~Component() = default;

void Component::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    notify(Change::Enabled);
}

int Component::subscribe(Observer o) {
    observers_.emplace_back(nextObserver_, std::move(o));
    return nextObserver_++;
}

void Component::unsubscribe(int id) {
    std::erase_if(observers_, [id](const auto& p) { return p.first == id; });
}

void Component::notify(Change c) {
    for (auto& [id, o] : observers_)
        o(*this, c);
}

bool Component::BoolFromEnum(const PropertyValue& v) {
    const auto& n = std::get<EnumName>(v).name;
    if (EqualsIgnoreAsciiCase(n, "True")) return true;
    if (EqualsIgnoreAsciiCase(n, "False")) return false;
    throw ConvertError(n);
}

void Component::listProperties(std::vector<PropertyAccess>& out) const {
    out.push_back({"Enabled", PropertyKind::Enumeration,
                   [](const Component& c) { return PropertyValue(EnumFromBool(c.enabled())); },
                   [](Component& c, const PropertyValue& v) { c.setEnabled(BoolFromEnum(v)); }});
}

const Component::PropertyAccess* Component::findProperty(std::string_view property) const {
    if (properties_.empty()) listProperties(properties_);
    auto it = std::find_if(properties_.begin(), properties_.end(), [&](const PropertyAccess& p) {
        return EqualsIgnoreAsciiCase(p.name, property);
    });
    return it == properties_.end() ? nullptr : &*it;
}

std::optional<PropertyKind> Component::kindOf(std::string_view property) const {
    if (const auto* p = findProperty(property)) return p->kind;
    return std::nullopt;
}

bool Component::readProperty(std::string_view property, PropertyValue& out) const {
    const auto* p = findProperty(property);
    if (!p) return false;
    out = p->get(*this);
    return true;
}

bool Component::writeProperty(std::string_view property, const PropertyValue& value) {
    const auto* p = findProperty(property);
    if (!p || KindOf(value) != p->kind) return false;
    p->set(*this, value);
    return true;
}

} // namespace kolvane
