#ifndef WDLC_WDLTOKENSCREEN_H
#define WDLC_WDLTOKENSCREEN_H

#include "items/wdltoken.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscript.h"

#include <QList>
#include <QStringList>

// One page of the wizard on the panel: one or two parameters, or an overlay,
// the next screen and up to four scripts.
//
// The plain setters (addParameter, setPss, ...) are the reader's and count a
// reference to what they store; the editor's invokables count nothing.
class WdlTokenScreen : public WdlToken
{
    Q_OBJECT
public:
    explicit WdlTokenScreen(const QString &id);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    // Reader side: each stores its reference and counts it; null is ignored.
    void addParameter(WdlTokenParam *param);
    void setPreScreenScript(WdlTokenScript *script);
    void setPss(WdlTokenScript *script);
    void setNextScreenScript(WdlTokenScript *script);
    void setNextScreen(WdlTokenScreen *screen);
    void setOverlay(WdlTokenOverlay *overlay);

    WdlTokenScript *preScreenScript() const { return m_preScreenScript; }
    WdlTokenScript *pss() const { return m_pss; }
    WdlTokenScript *nextScreenScript() const { return m_nextScreenScript; }
    WdlTokenScript *writeScript() const { return m_writeScript; }
    QList<WdlTokenParam *> parameters() const { return m_parameters; }
    WdlTokenScreen *nextScreen() const { return m_nextScreen; }
    WdlTokenOverlay *overlay() const { return m_overlay; }

    // Editor side.
    Q_INVOKABLE bool isOverlayScreen() const;
    Q_INVOKABLE QString getOverlayText() const;
    Q_INVOKABLE bool hasNextScreen() const { return m_nextScreen != nullptr; }
    Q_INVOKABLE WdlTokenScreen *getNextScreen() const { return m_nextScreen; }
    Q_INVOKABLE bool hasNextScreenScript() const { return m_nextScreenScript != nullptr; }
    Q_INVOKABLE WdlTokenScript *getNextScreenScript() const { return m_nextScreenScript; }
    Q_INVOKABLE int getParametersInScreen() const { return m_parameters.size(); }
    Q_INVOKABLE WdlTokenParam *getParam(int i) const;
    Q_INVOKABLE QStringList getParameters() const;
    Q_INVOKABLE bool removeParameter(int i);
    Q_INVOKABLE bool replaceParameter(WdlTokenParam *param, int paramNumber);
    Q_INVOKABLE bool hasPreSS() const { return m_preScreenScript != nullptr; }
    Q_INVOKABLE bool hasPss() const { return m_pss != nullptr; }
    Q_INVOKABLE bool hasOverlay() const { return m_overlay != nullptr; }
    Q_INVOKABLE WdlTokenOverlay *getOverlay() const { return m_overlay; }
    // Script slots: 1 write, 2 next-screen, 3 PSS, 4 pre-screen.
    Q_INVOKABLE bool hasScript(int a) const { return getScript(a) != nullptr; }
    Q_INVOKABLE WdlTokenScript *getScript(int a) const;
    Q_INVOKABLE void setScript(int a, WdlTokenScript *script);

public slots:
    void setNextScreenName(WdlTokenScreen *value);

signals:
    void nextScreenNameChanged(QString &s);

private:
    WdlTokenScript *m_preScreenScript = nullptr;
    WdlTokenScript *m_pss = nullptr;
    WdlTokenScript *m_nextScreenScript = nullptr;
    WdlTokenScript *m_writeScript = nullptr;
    QList<WdlTokenParam *> m_parameters;
    WdlTokenScreen *m_nextScreen = nullptr;
    WdlTokenOverlay *m_overlay = nullptr;
};

#endif
