#ifndef WDLC_WDLTOKENOVERLAY_H
#define WDLC_WDLTOKENOVERLAY_H

#include "items/wdltoken.h"
#include "items/wdltokentext.h"

#include <QMap>

// A text page whose eight panel keys each trigger an action.
class WdlTokenOverlay : public WdlToken
{
    Q_OBJECT
public:
    // The panel keys, in record order.
    enum OverlayCommands {
        OK_ACTION = 0,
        CANCEL_ACTION,
        BACK_ACTION,
        INFO_ACTION,
        UP_ACTION,
        DOWN_ACTION,
        LEFT_ACTION,
        RIGHT_ACTION
    };
    Q_ENUM(OverlayCommands)

    // The byte stored per key. 0, 1, 10 and 11 are not used by the panel.
    enum ActionTypes {
        PROCEED_TO_WIZARD_WITH_RESET = 2,
        EXIT_FUNCTION_SETUP = 3,
        EXIT_TO_STATUS = 4,
        PROCEED_TO_AMA = 5,
        GOTO_NEXT_SCREEN = 6,
        GOTO_PREVIOUS_SCREEN = 7,
        EXIT_TO_SAVED_SCREEN = 8,
        EXIT_WIZARD = 9,
        NO_ACTION = 12,
        PROCEED_TO_AMA_REDUCED = 13,
        EXIT_WITH_EXIT_ACTION = 14,
        CLEAR_WIZARD_STOP_LOCK = 15,
        SET_WIZARD_STOP_LOCK = 16,
        PROCEED_TO_WIZARD = 17,
        PROCEED_TO_WIZARD_WITH_OFF = 18,
        PROCEED_TO_WIZARD_WITH_RESET_AND_OFF = 19,
        GOTO_PREVIOUS_OVERLAY = 20,
        PROCEED_TO_AUTO_TUNE = 21
    };
    Q_ENUM(ActionTypes)

    static constexpr int kKeyCount = 8;

    explicit WdlTokenOverlay(const QString &id);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    // Stores the text and counts a reference to it; null is ignored.
    void setText(WdlTokenText *text);
    WdlTokenText *text() const { return m_text; }

    // Ignored for a key index of 8 or more, or an empty action.
    void setAction(int key, const QString &action);
    QString action(int key) const;
    // The ActionTypes value of key's action; NO_ACTION when unset or not a key.
    int actionValue(int key) const;

    // Stores (key's OverlayCommands value, action's ActionTypes value or -1).
    void bind(const QString &commandKey, const QString &actionKey);
    QMap<int, int> commandMap() const { return m_commandMap; }

private:
    QString m_actions[kKeyCount];
    WdlTokenText *m_text = nullptr;
    QMap<int, int> m_commandMap;
};

#endif
