#pragma once

#include "refdata/Person.h"
#include "settings/Options.h"

#include <optional>

#include <QString>

namespace moque::app {

// State that the main window keeps for the whole run and every other window reads.
struct Session
{
    int currentTemplateId = 0;       // template of the open entry window, 0 before any
    QString currentUserName;         // logged-in user, empty when nobody logged in
    QString currentRoleName;
    bool printerReady = false;       // a print job may be started
    QString billPrinterName;         // printer chosen by setDefaultPrinter
    settings::SysParams params;      // the option flags
    std::optional<refdata::TPerson> defaultIssuer; // new bills start with it when the option is on
};

// The printer setDefaultPrinter selects: the index of the first installed
// printer whose name equals the trimmed name (or, when that is empty, the
// stored option) without regard to case; with neither, the only real printer
// when there is exactly one; -1 when nothing is to change.
int choosePrinter(const QStringList &installed, const QString &name, const QString &storedOption);

// Today's day stamp for HideADPanelDate: year + month + day added as numbers.
int dayStamp(int year, int month, int day);

} // namespace moque::app
