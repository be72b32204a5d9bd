#pragma once

#include "formula/NumberFormat.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kolvane {

class Form;

// The kinds of stored property that the project file knows.
enum class PropertyKind { Text, Integer, Enumeration, Float };

// An enumeration value is carried by its name ("True", "False").
struct EnumName {
    std::string name;
    bool operator==(const EnumName&) const = default;
};

using PropertyValue = std::variant<std::string, long long, EnumName, double>;

PropertyKind KindOf(const PropertyValue& v);

// What changed, so that a view repaints only what it must.
enum class Change { Text, Look, Items, Selection, Caption, Checked, Enabled };

// A named control of a window without the window: its state, its stored
// properties by name and kind, its events, and observers for the view.
class Component {
public:
    using Handler = std::function<void(Component&)>;
    using Observer = std::function<void(Component&, Change)>;

    explicit Component(std::string name);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& name() const { return name_; }
    // The class name the project file uses to decide what is written.
    virtual const char* className() const = 0;

    Form* owner() const { return owner_; }
    Component* parent() const { return parent_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    // Hint shown in the status bar; caption for labels, boxes, buttons.
    const std::string& hint() const { return hint_; }
    void setHint(std::string h) { hint_ = std::move(h); }

    // Stored properties by name (ASCII case ignored). kindOf tells whether the
    // component has the property; read and write return false when it has
    // not, write raises ConvertError for an enumeration name it does not know.
    std::optional<PropertyKind> kindOf(std::string_view property) const;
    bool readProperty(std::string_view property, PropertyValue& out) const;
    bool writeProperty(std::string_view property, const PropertyValue& value);

    // Observers are told of every change; the view uses them to repaint.
    int subscribe(Observer o);
    void unsubscribe(int id);

    // Events, wired by the window from its tables.
    Handler onChange;
    Handler onExit;
    Handler onClick;

protected:
    void notify(Change c);
    void fire(const Handler& h) {
        if (h) h(*this);
    }

    struct PropertyAccess {
        const char* name;
        PropertyKind kind;
        std::function<PropertyValue(const Component&)> get;
        std::function<void(Component&, const PropertyValue&)> set;
    };
    // Each class lists its stored properties; the base adds "Enabled".
    virtual void listProperties(std::vector<PropertyAccess>& out) const;

    static bool BoolFromEnum(const PropertyValue& v);
    static EnumName EnumFromBool(bool b) { return EnumName{b ? "True" : "False"}; }

private:
    friend class Form;
    const PropertyAccess* findProperty(std::string_view property) const;

    std::string name_;
    Form* owner_ = nullptr;
    Component* parent_ = nullptr;
    bool enabled_ = true;
    std::string hint_;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserver_ = 1;
    mutable std::vector<PropertyAccess> properties_;
};

} // namespace kolvane
