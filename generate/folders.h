// Special folders and the folder test.
#pragma once

#include "text/ustring.h"

namespace qp::gen {

constexpr int kFolderAppData = 26;  // the user's configuration folder
constexpr int kFolderDesktop = 0;   // the user's desktop

// "Mod_ApiDf -> Get_Spe_Fdr": the folder's path without a trailing "/", or
// the empty text when it cannot be resolved.
Text Get_Spe_Fdr(int folderNumber);

// "Mod_Sub -> Srv_Chk_Foldr": true when `path` is not empty and names an
// existing folder. Never creates it.
bool Srv_Chk_Foldr(TextView path);

}  // namespace qp::gen
