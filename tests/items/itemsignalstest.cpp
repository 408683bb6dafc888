// What the editor sees of item changes: properties written by name, methods
// invoked by name, signals spied by their SIGNAL() signature.

#include "items/wdltokenlocalparam.h"
#include "items/wdltokenparam.h"

#include "support/testsupport.h"

#include <QSignalSpy>

#include <functional>

namespace {

int emitted(QObject *object, const char *signal, const std::function<void()> &change)
{
    QSignalSpy spy(object, signal);
    EXPECT_TRUE(spy.isValid()) << signal;
    change();
    return spy.count();
}

TEST(ItemSignals, PropertyWritesAnnounceOnlyAChangeButAnIdAlways)
{
    WdlToken token(QStringLiteral("x"));
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("Text"), QStringLiteral("Help"));
    WdlTokenLocalParam local(QStringLiteral("lp"), 7);
    WdlTokenParam vp(QStringLiteral("vp"), false);
    const auto write = [](QObject *o, const char *property, const QVariant &value) {
        return [=] { EXPECT_TRUE(o->setProperty(property, value)); };
    };
    EXPECT_EQ(emitted(&token, SIGNAL(idChanged()), write(&token, "id", "x")), 1);
    EXPECT_EQ(emitted(&text, SIGNAL(textChanged(QString)), write(&text, "text", "Text")), 0);
    EXPECT_EQ(emitted(&text, SIGNAL(helpChanged(QString)), write(&text, "help", "help")), 1);
    EXPECT_EQ(emitted(&local, SIGNAL(valueChanged(int)), write(&local, "value", 7)), 0);
    EXPECT_EQ(emitted(&local, SIGNAL(valueChanged(int)), write(&local, "value", 8)), 1);
    // A virtual parameter has number -1.
    EXPECT_EQ(emitted(&vp, SIGNAL(parameterNumberChanged(int)), write(&vp, "parameterNumber", -1)), 0);
    EXPECT_EQ(emitted(&vp, SIGNAL(parameterNumberChanged(int)), write(&vp, "parameterNumber", 2)), 1);
    // The reader's setter announces every time.
    EXPECT_EQ(emitted(&text, SIGNAL(textChanged(QString)), [&] { text.setTextOrHelp(QStringLiteral("Text"), false); }),
              1);
}

// A name text of equal text and help, or a list of the same texts in the
// same order, is no change. The reader's setters, invokable by the editor
// too, announce nothing; the editor's count no reference. Pointer-typed
// values travel through QVariant: a type moc saw only forward-declared
// would arrive empty.
TEST(ItemSignals, ParameterNameAndChoiceListAnnounceOnlyAChangeAndCarryTheirValue)
{
    WdlTokenText name(QStringLiteral("name"), QStringLiteral("Speed"), QStringLiteral("Motor speed"));
    WdlTokenText lookAlike(QStringLiteral("other"), QStringLiteral("Speed"), QStringLiteral("Motor speed"));
    WdlTokenText otherHelp(QStringLiteral("other2"), QStringLiteral("Speed"), QStringLiteral("Speed of the motor"));
    WdlTokenText low(QStringLiteral("Low"), QStringLiteral("Low"), false);
    WdlTokenText high(QStringLiteral("High"), QStringLiteral("High"), false);
    WdlTokenChoiceList lists[3] = {WdlTokenChoiceList(QStringLiteral("a")), WdlTokenChoiceList(QStringLiteral("b")),
                                   WdlTokenChoiceList(QStringLiteral("c"))};
    for (int i = 0; i < 3; ++i) {
        lists[i].addChoice(i < 2 ? &low : &high);
        lists[i].addChoice(i < 2 ? &high : &low);
    }
    WdlTokenParam vcp(QStringLiteral("vcp"), true);
    EXPECT_EQ(vcp.property("name").toString(), QStringLiteral("undefined"));
    QSignalSpy names(&vcp, SIGNAL(parameterNameChanged(WdlTokenText *)));
    QSignalSpy choiceLists(&vcp, SIGNAL(choiceListChanged(WdlTokenChoiceList *)));
    const char *nameChanged = SIGNAL(parameterNameChanged(WdlTokenText *));
    const auto setName = [&](WdlTokenText *text) {
        return [&vcp, text] { metaCallVoid(&vcp, "setParameterName", text); };
    };
    EXPECT_EQ(emitted(&vcp, nameChanged, [&] { metaCallVoid(&vcp, "setText", &name); }), 0);
    EXPECT_EQ(emitted(&vcp, nameChanged, setName(nullptr)), 0);
    EXPECT_EQ(emitted(&vcp, nameChanged, setName(&lookAlike)), 0);
    EXPECT_EQ(emitted(&vcp, nameChanged, setName(&otherHelp)), 1);
    const char *listChanged = SIGNAL(choiceListChanged(WdlTokenChoiceList *));
    const auto setList = [&](WdlTokenChoiceList *list) {
        return [&vcp, list] { EXPECT_TRUE(vcp.setProperty("parameterChoiceList", QVariant::fromValue(list))); };
    };
    EXPECT_EQ(emitted(&vcp, listChanged, [&] { metaCallVoid(&vcp, "setChoiceList", &lists[0]); }), 0);
    const auto setNull = [&] {
        metaCallVoid(&vcp, "setParameterChoiceList", static_cast<WdlTokenChoiceList *>(nullptr));
    };
    EXPECT_EQ(emitted(&vcp, listChanged, setNull), 0);
    EXPECT_EQ(emitted(&vcp, listChanged, setList(&lists[1])), 0);
    EXPECT_EQ(emitted(&vcp, listChanged, setList(&lists[2])), 1);
    EXPECT_EQ(name.referenceCount() + lists[0].referenceCount(), 2);
    EXPECT_EQ(otherHelp.referenceCount() + lists[2].referenceCount(), 0);
    ASSERT_EQ(names.count() + choiceLists.count(), 2);
    EXPECT_EQ(names.at(0).at(0).value<WdlTokenText *>(), &otherHelp);
    EXPECT_EQ(choiceLists.at(0).at(0).value<WdlTokenChoiceList *>(), &lists[2]);
    EXPECT_EQ(vcp.property("parameterChoiceList").value<WdlTokenChoiceList *>(), &lists[2]);
    EXPECT_EQ(vcp.property("helpText").toString(), QStringLiteral("Speed of the motor"));
    EXPECT_EQ(vcp.property("defaultValueAsText").toString(), QStringLiteral("High"));
}

} // namespace
