// The host operations of the dialog manager: modal and modeless dialogs, items, lists,
// pop-ups, the save-file dialog and number-to-text conversion. Part of the host function table
// (host_table.h).
//
// Dialogs are built by the host from the dialog resources ('GDLG') of the current resource
// module. A dialog has items numbered from 1 (1 is OK, 2 Cancel when present); each item has a
// kind (DGItemKind), a text, a value, and enabled and visible states. The host reports what
// happens in a dialog by calling its message handler with a DGMessage; for a click the reply
// is the item that ends a modal dialog (0 keeps it open).
//
// Values: check boxes and radio buttons 0 or 1; pop-ups the selected entry, 1-based (0 none);
// integer, real, length and angle fields their number (lengths in metres, angles in radians).
// Lists have rows and tab fields (columns) numbered from 1.
//
// Progress windows and the layer and pen user controls go through HostInterface:
//   HostInterface 'IPWD' (const char* title, const int32_t* phases)   opens the progress window
//   HostInterface 'SPRP' (const int32_t* phase, const char* text, const int32_t* maximum)
//                                         starts a phase with its text and maximum
//   HostInterface 'SPRV' (const int32_t* value)                       sets the progress value
//   HostInterface 'IPRV' (const int32_t* step)                        adds to the progress value
//   HostInterface 'CANC' ()               answers kErrCancelled when the user asked to stop
//   HostInterface 'CPWD' ()                                           closes the progress window
//   HostInterface 'SUCC' (const DGUserControlRecord*)                 sets up a layer or pen
//                                         control: its value then is a layer or pen index
#pragma once

#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// DG messages a dialog's handler receives.
enum : int16_t {
  kDGMsgInit = 1,         // the dialog is built and about to show
  kDGMsgClose = 3,        // the dialog is closing
  kDGMsgClick = 4,        // a button, check box, radio button or list was clicked
  kDGMsgDoubleClick = 5,  // a list row was double-clicked
  kDGMsgChange = 6,       // an item's value or a list's selection changed
  kDGMsgTrack = 7,        // a value is being changed (slider, scroll)
  kDGMsgMouse = 8,        // a mouse press in a user item
  kDGMsgFocus = 9,        // an item got or lost the focus
  kDGMsgKey = 10,         // a key press
  kDGMsgGrow = 11,        // the dialog was resized
  kDGMsgActivate = 12,    // the dialog was brought to the front or sent back
  kDGMsgTopStatus = 14,   // the dialog's top status changed
  kDGMsgUpdate = 16,      // an item is to be drawn
  kDGMsgDrop = 17,        // something was dropped on an item
};

// Item kinds of a dialog resource.
enum DGItemKind : int32_t {
  kDGNoItem = 0,
  kDGButton = 1,
  kDGStaticText = 2,
  kDGEditText = 3,
  kDGIntEdit = 4,
  kDGRealEdit = 5,
  kDGLengthEdit = 6,
  kDGAngleEdit = 7,
  kDGCheckBox = 8,
  kDGRadioButton = 9,
  kDGPopup = 10,
  kDGList = 11,
  kDGUserControl = 12,
  kDGProgressBar = 13,
  kDGGroupBox = 14,
};

// Number-to-text kinds.
enum : int32_t { kDGNumberReal = 0, kDGNumberLength = 1, kDGNumberAngle = 2, kDGNumberInteger = 3 };

// User control kinds ('SUCC').
enum : int32_t { kDGUserControlLayer = 1, kDGUserControlPen = 2 };

// An item's rectangle in dialog pixels.
struct DGRect {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
};

// The layer or pen control to set up ('SUCC').
struct DGUserControlRecord {
  int16_t dialId = 0;
  int16_t item = 0;
  int32_t kind = 0;   // kDGUserControlLayer or kDGUserControlPen
  int32_t value = 0;  // the initial layer or pen index
};

// The handler of a dialog: message, the host's dialog id, the item concerned (0 none), the
// user value given when the dialog was opened, and the message's data (the key code, the
// double-clicked row, ...; 0 when the message has none). Answers the reply.
using DGMessageHandlerFn = int16_t (*)(int16_t message, int16_t dialId, int16_t item, intptr_t userData,
                                       intptr_t messageData);

// X(name, return type, parameter list), as in host_table.h.
#define HOST_DIALOG_OPERATIONS(X)                                                                  \
  /* ---- dialogs ---- */                                                                         \
  /* runs a modal dialog of the current module's dialog resource; answers the item that closed */ \
  /* it (1 OK, 2 Cancel), 0 when the resource is missing (the handler is never called) */         \
  X(DGModalDialog, int32_t, (int32_t resourceId, DGMessageHandlerFn handler, intptr_t userData))   \
  /* opens a modeless dialog and answers its dialog id; 0 when the resource is missing */         \
  X(DGModelessInit, int16_t, (int32_t resourceId, DGMessageHandlerFn handler, intptr_t userData))  \
  /* closes a modeless dialog (its handler hears kDGMsgClose); nothing for an unknown id */      \
  X(DGModelessClose, void, (int16_t dialId))                                                       \
  /* brings an open dialog to the front */                                                        \
  X(DGBringToFront, void, (int16_t dialId))                                                        \
  /* sets the title of an open dialog */                                                          \
  X(DGSetDialogTitle, void, (int16_t dialId, const char* title))                                   \
  /* ---- items: an unknown dialog or item answers 0, false or empty text ---- */                \
  X(DGGetItemKind, int32_t, (int16_t dialId, int16_t item))                                        \
  X(DGGetItemValue, double, (int16_t dialId, int16_t item))                                        \
  X(DGSetItemValue, void, (int16_t dialId, int16_t item, double value))                            \
  /* copies the text into buffer (cut to size - 1 bytes); answers the text's full length, */    \
  /* or -1 (buffer untouched) when the dialog or item is unknown: no text could be read */       \
  X(DGGetItemText, int32_t, (int16_t dialId, int16_t item, char* buffer, int32_t size))            \
  X(DGSetItemText, void, (int16_t dialId, int16_t item, const char* text))                         \
  X(DGEnableItem, void, (int16_t dialId, int16_t item, bool enable))                               \
  X(DGIsItemEnabled, bool, (int16_t dialId, int16_t item))                                         \
  X(DGShowItem, void, (int16_t dialId, int16_t item, bool show))                                   \
  X(DGIsItemVisible, bool, (int16_t dialId, int16_t item))                                         \
  X(DGGetItemRect, bool, (int16_t dialId, int16_t item, DGRect* rect))                             \
  X(DGSetItemRect, void, (int16_t dialId, int16_t item, const DGRect* rect))                       \
  X(DGSetFocus, void, (int16_t dialId, int16_t item))                                              \
  X(DGSetItemFont, void, (int16_t dialId, int16_t item, int32_t font))                             \
  X(DGRedrawItem, void, (int16_t dialId, int16_t item))                                            \
  /* ---- pop-ups: entries are 1-based; position count + 1 appends ---- */                      \
  X(DGPopUpInsertItem, bool, (int16_t dialId, int16_t item, int32_t position, const char* text))   \
  X(DGPopUpDeleteItem, bool, (int16_t dialId, int16_t item, int32_t position))                     \
  X(DGPopUpGetItemCount, int32_t, (int16_t dialId, int16_t item))                                  \
  X(DGPopUpGetItemText, int32_t,                                                                   \
    (int16_t dialId, int16_t item, int32_t position, char* buffer, int32_t size))                  \
  X(DGPopUpSetItemText, bool, (int16_t dialId, int16_t item, int32_t position, const char* text))  \
  X(DGPopUpEnableItem, void, (int16_t dialId, int16_t item, int32_t position, bool enable))        \
  /* ---- lists: rows and tab fields are 1-based; position count + 1 appends ---- */            \
  /* sets the list's tab fields (columns) with their widths in pixels */                          \
  X(DGListSetTabs, bool, (int16_t dialId, int16_t item, int32_t count, const int16_t* widths))     \
  X(DGListInsertRow, bool, (int16_t dialId, int16_t item, int32_t position))                       \
  /* deletes a row; row 0 deletes every row */                                                    \
  X(DGListDeleteRow, bool, (int16_t dialId, int16_t item, int32_t row))                            \
  X(DGListGetRowCount, int32_t, (int16_t dialId, int16_t item))                                    \
  X(DGListSetCellText, bool,                                                                       \
    (int16_t dialId, int16_t item, int32_t row, int32_t tabField, const char* text))               \
  X(DGListGetCellText, int32_t,                                                                    \
    (int16_t dialId, int16_t item, int32_t row, int32_t tabField, char* buffer, int32_t size))     \
  /* selects or deselects a row (a single-selection list deselects the others); row 0: all */    \
  X(DGListSelectRow, void, (int16_t dialId, int16_t item, int32_t row, bool select))              \
  /* the first selected row after row after (0: from the start); 0 when there is none */         \
  X(DGListGetSelected, int32_t, (int16_t dialId, int16_t item, int32_t after))                     \
  /* lays the dialog's item editItem on a row's tab field and shows it; row 0 takes it off */   \
  X(DGListSetDialItemOnTabField, bool,                                                             \
    (int16_t dialId, int16_t listItem, int32_t row, int32_t tabField, int16_t editItem))           \
  /* ---- the save-file dialog ---- */                                                            \
  /* asks where to save: title, default name, extension (without the dot), file type; writes */  \
  /* the chosen path into path; false when the user cancelled */                                 \
  X(DGGetSaveFile, bool,                                                                           \
    (const char* title, const char* defaultName, const char* extension, uint32_t fileType,        \
     char* path, int32_t size))                                                                    \
  /* ---- number to text ---- */                                                                  \
  /* writes value as the host shows a number of kind (kDGNumberReal, ...) in the project's */    \
  /* working units; answers the text's full length */                                             \
  X(DGNumberToText, int32_t, (double value, int32_t kind, char* buffer, int32_t size))             \
  /* reads text as a number of kind; false when it does not parse (value unchanged) */           \
  X(DGTextToNumber, bool, (const char* text, int32_t kind, double* value))                        \
  /* writes value as decimal text with precision digits after the point (no other rounding; */   \
  /* not-a-number and infinities as "nan", "inf", "-inf"); answers the text's full length */     \
  X(DGDoubleToString, int32_t, (double value, int32_t precision, char* buffer, int32_t size))

}  // namespace platform
