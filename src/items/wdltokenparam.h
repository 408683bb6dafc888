#ifndef WDLC_WDLTOKENPARAM_H
#define WDLC_WDLTOKENPARAM_H

#include "items/wdltoken.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"

// A value that a screen shows and lets the user edit: a drive parameter (P),
// a virtual parameter (VP) or a virtual choice parameter (VCP).
//
// The plain setters (setText, setApf, ...) are the reader's: they count a
// reference to the item they store. The editor's slots (setParameterName,
// setParameterChoiceList) emit change signals and count nothing.
class WdlTokenParam : public WdlToken
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name NOTIFY nameChanged)
    Q_PROPERTY(QString helpText READ helpText NOTIFY helpTextChanged)
    Q_PROPERTY(QString defaultValueAsText READ defaultValueAsText NOTIFY defaultValueAsTextChanged)
    Q_PROPERTY(int parameterNumber READ parameterNumber WRITE setParameterNumber NOTIFY parameterNumberChanged)
    Q_PROPERTY(
        WdlTokenChoiceList *parameterChoiceList READ choiceList WRITE setParameterChoiceList NOTIFY choiceListChanged)
public:
    enum Kind { KindP = 0, KindVP = 1, KindVCP = 2 };

    // A drive parameter (P) with its drive parameter number.
    WdlTokenParam(const QString &id, int parameterNumber);
    // A virtual parameter: VCP when isChoicelist, else VP.
    WdlTokenParam(const QString &id, bool isChoicelist);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    Q_INVOKABLE void setApf(WdlTokenFilter *filter);
    Q_INVOKABLE void setClf(WdlTokenFilter *filter);
    Q_INVOKABLE void setText(WdlTokenText *text);
    Q_INVOKABLE void setWriteScript(WdlTokenScript *script);
    Q_INVOKABLE void setChoiceList(WdlTokenChoiceList *choiceList);
    Q_INVOKABLE void setUnitText(WdlTokenText *text);
    Q_INVOKABLE void setMinValue(int val) { m_minValue = val; }
    Q_INVOKABLE void setMaxValue(int val) { m_maxValue = val; }
    Q_INVOKABLE void setDefaultValue(int val) { m_defaultValue = val; }
    Q_INVOKABLE void setScaleValue(int val) { m_scaleValue = val; }

    // The text of the name, or "undefined" without a name text.
    QString name() const;
    // The help of the name, or "undefined" without a name text.
    QString helpText() const;
    // The default choice's text, the scaled default of a VP with its unit, or "TODO".
    QString defaultValueAsText() const;

    int kind() const { return m_kind; }
    WdlTokenText *text() const { return m_text; }
    WdlTokenScript *writeScript() const { return m_writeScript; }
    bool definedInScreen() const { return m_definedInScreen; }
    void setDefinedInScreen(bool value) { m_definedInScreen = value; }
    int parameterNumber() const { return m_parameterNumber; }
    WdlTokenFilter *apf() const { return m_apf; }
    WdlTokenFilter *clf() const { return m_clf; }
    WdlTokenChoiceList *choiceList() const { return m_choiceList; }
    int minValue() const { return m_minValue; }
    int maxValue() const { return m_maxValue; }
    int defaultValue() const { return m_defaultValue; }
    int scaleValue() const { return m_scaleValue; }
    WdlTokenText *unitText() const { return m_unitText; }

    // No name text, no choice list with entries, no filter and no write script.
    bool isBare() const;

public slots:
    void setParameterNumber(int i);
    void setParameterName(WdlTokenText *parameterName);
    void setParameterChoiceList(WdlTokenChoiceList *choiceListName);

signals:
    void parameterNumberChanged(int i);
    void parameterNameChanged(WdlTokenText *text);
    void choiceListChanged(WdlTokenChoiceList *cl);
    void nameChanged();
    void helpTextChanged();
    void defaultValueAsTextChanged();

private:
    // A choice list with at least one entry.
    bool hasChoices() const;
    QString inScreenText() const;
    QString topLevelText() const;

    int m_kind;
    WdlTokenText *m_text = nullptr;
    WdlTokenScript *m_writeScript = nullptr;
    bool m_definedInScreen = false;
    qint32 m_parameterNumber;
    WdlTokenFilter *m_apf = nullptr;
    WdlTokenFilter *m_clf = nullptr;
    WdlTokenChoiceList *m_choiceList = nullptr;
    qint32 m_minValue = 0;
    qint32 m_maxValue = 0;
    qint32 m_defaultValue = 0;
    qint32 m_scaleValue = 0;
    WdlTokenText *m_unitText = nullptr;
};

#endif
