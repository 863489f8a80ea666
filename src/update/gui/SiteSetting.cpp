// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/gui/SiteSetting.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "settings/HomeFolder.h"
#include "settings/UpdateSite.h"

namespace rostrix {

std::string updateSite(QWidget* owner) {
    static std::string reported;
    std::string complaint;
    const std::string site = configuredSite(settingsPath(), &complaint);
    if (!complaint.empty() && complaint != reported) {
        reported = complaint;
        dialogs().message(owner, QString::fromLatin1(kAppTitle), fileNameText(complaint),
                          MsgIcon::None, Ok);
    }
    return site;
}

}  // namespace rostrix
