// Written in UTF-8; the build stores these texts as code page 932 (Shift-JIS).
#include "engine/LogTexts.h"

const char kLogFileMissing[] = "ファイル'%s'は存在しません。";
const char kLogInfoTipUnregistered[] = "InfoTipの登録が解除されました。";
const char kLogInfoTipNotUnregistered[] = "InfoTipの登録が解除されませんでした。";
const char kLogToolUnregistered[] = "Dravethの登録が解除されました。";
const char kLogToolNotUnregistered[] = "Dravethの登録が解除されませんでした。";
const char kLogFileDeletion[] = "ファイル'%s'は削除%s。";
const char kLogFileSkipped[] = "ファイル'%s'の削除はスキップされました。";
const char kLogFolderRefused[] =
    "フォルダ'%s'はシステムフォルダであるか実際の場所を確認できないため、ファイルは削除されませんでした。";
const char kLogEntryDeletion[] = "アンインストール情報レジストリエントリは削除%s。";
const char kLogDeleted[] = "されました";
// The file line's failure word is "きでませんでした", unlike the registry line's: both are kept as the
// product has always written them.
const char kLogFileNotDeleted[] = "きでませんでした";
const char kLogEntryNotDeleted[] = "できませんでした";
