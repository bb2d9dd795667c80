// The terminal host: the game in a real text terminal, drawn with escape
// sequences and read from the keys and mouse reports the terminal sends.
// Settings come from the environment:
//   WOBBLE_TERM_COLUMNS=1|2           terminal columns per cell (2: near-square cells)
//   WOBBLE_TERM_COLOURS=palette|24bit|256   how colours are sent (default: asked of the terminal)
//   WOBBLE_TERM_KEYS=kitty|legacy     key reports (default: asked of the terminal)
#pragma once
#include "platform/term/term_encoder.h"
#include "platform/term/term_input.h"

// What the terminal shows and how (owned by the terminal host).
extern TermScreen termScreen;
// Key and mouse decoding with the held-key state.
extern TermInput termInput;
// True while the terminal is too small for the picture and says so.
extern bool termTooSmall;

// The lines shown instead of the picture when the terminal is too small.
std::string termTooSmallText(int columns, int rows, int cellColumns);
