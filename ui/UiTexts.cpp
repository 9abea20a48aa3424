// Compiled with -fexec-charset=CP932: these literals are stored as Shift-JIS bytes.
#include "ui/UiTexts.h"

const char kTextQuestion[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？";
const char kTextNotInstalled[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。";
const char kTextClose[] = "閉じる";
const char kTextRemoved[] = "正常にアンインストールされました。";
const char kTextNotRemoved[] = "アンインストールできませんでした。";
