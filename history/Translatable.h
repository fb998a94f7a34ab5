#pragma once
// TARVELO_TR_NOOP marks a text that the desktop program shows in the user's language. Here it is
// the English text and nothing else (files, exports and tarvelo-cli stay English whatever the
// locale); Qt's lupdate finds it under the context it names, and the program translates the text
// when it shows it.
#define TARVELO_TR_NOOP(context, text) text
