// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RunLeftovers.h"

#include "platform/ReplacingFile.h"
#include "settings/UpdateSite.h"
#include "shell/TeamCommand.h"

namespace rostrix {

void removeRunLeftovers(const std::string& homeFolder) {
    ReplacingFile::removeLeftoversIn(homeFolder, {kPartialArchiveName},
                                     {kTeamBuilderTemporaryPrefix});
}

}  // namespace rostrix
