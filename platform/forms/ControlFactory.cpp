#include "forms/ControlFactory.h"
#include "controls/Image.h"
#include "controls/StdControls.h"


namespace vcl {

// Every class a layout may name is listed here, explicitly: registration
// from static initialisers would be dropped by the linker in a static library.
ControlFactory::ControlFactory()
{
    add<TEdit>(QStringLiteral("TEdit"));
    add<TCheckBox>(QStringLiteral("TCheckBox"));
    add<TBitBtn>(QStringLiteral("TBitBtn"));
    add<TPanel>(QStringLiteral("TPanel"));
    add<TImage>(QStringLiteral("TImage"));
    addFileControls();
}

ControlFactory& ControlFactory::instance()
{
    static ControlFactory factory;
    return factory;
}

TControl* ControlFactory::create(const QString& className, QWidget* parent) const
{
    auto it = m_makers.find(className);
    return it == m_makers.end() ? nullptr : it->second(parent);
}

} // namespace vcl
