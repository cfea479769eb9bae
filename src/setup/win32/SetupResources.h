#pragma once
// Resource identifiers of the setup dialog, shared with the player's
// resource script: its skin as packed SkinStream values (RCDATA) for
// screens at 100, 150 and 200 % scaling.
#define IdSkinStream100 201
#define IdSkinStream150 202
#define IdSkinStream200 203
