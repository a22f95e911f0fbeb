#pragma once
// Creates controls by the class name a stored layout gives.
#include "controls/Control.h"
#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace vcl {

class ControlFactory {
public:
    using Maker = std::function<TControl*(QWidget* parent)>;
    static ControlFactory& instance();

    template <class T>
    void add(const QString& className)
    {
        m_makers[className] = [](QWidget* parent) -> TControl* { return new T(parent); };
    }
    // nullptr when the class is not known.
    TControl* create(const QString& className, QWidget* parent) const;
    bool knows(const QString& className) const { return m_makers.count(className) != 0; }

private:
    ControlFactory();
    void addFileControls();
    std::map<QString, Maker> m_makers;
};

} // namespace vcl
