#pragma once

// The log lines of the removal steps, as code page 932 bytes. "%s" is their only conversion.

extern const char kLogFileMissing[];          // the component file (%s: its name) does not exist
extern const char kLogInfoTipUnregistered[];
extern const char kLogInfoTipNotUnregistered[];
extern const char kLogToolUnregistered[];
extern const char kLogToolNotUnregistered[];
extern const char kLogFileDeletion[];         // %s: file name; %s: kLogDeleted or kLogFileNotDeleted
extern const char kLogFileSkipped[];          // %s: file name of the preserved data file
extern const char kLogFolderRefused[];        // %s: the install folder, as written
extern const char kLogEntryDeletion[];        // %s: kLogDeleted or kLogEntryNotDeleted
extern const char kLogDeleted[];
extern const char kLogFileNotDeleted[];
extern const char kLogEntryNotDeleted[];
