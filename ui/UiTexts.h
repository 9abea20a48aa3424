#pragma once

// The main dialog's Japanese texts, as code page 932 bytes.

extern const char kTextQuestion[];      // the prompt when the product was found
extern const char kTextNotInstalled[];  // the prompt when it was not
extern const char kTextClose[];         // the second button's caption in the states without a question
extern const char kTextRemoved[];       // result box, success
extern const char kTextNotRemoved[];    // result box, failure
