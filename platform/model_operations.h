// The host operations of the model: databases, elements, memos, selection, groups, storeys,
// layers, attributes and 3D bodies. Part of the host function table (host_table.h).
//
// Every operation works in the current database (HostDatabase 'GDAT'). Dispatcher codes of
// the model:
//   HostDatabase 'GDAT' (int32_t* kind, int32_t* index, int16_t* number) the current database;
//                                      kind, index and number together are its identity
//                                      (a DatabaseRecord); index and number may be null
//   HostDatabase 'CDAT' (const DatabaseRecord*)       makes a database current (kErrBadIndex
//                                                      when it does not exist)
//   HostDatabase 'SDAT' (const int32_t* kind, const int32_t* index, const int16_t* number)
//                                      'CDAT' by the three fields (number may be null: 0)
//   HostDatabase 'GSDI' 'GDDI' 'GEDI' 'GIED' 'GLDI' 'GMDI' 'GWDI' 'GD3D' (GSHandle*)
//                                      a new handle of DatabaseRecord, one per database of
//                                      that kind (sections, details, elevations, interior
//                                      elevations, layouts, master layouts, worksheets,
//                                      documents 3D)
//   HostDatabase 'GEFA' (const Guid*, ElementRecord*)  reads an element by GUID
//   HostDatabase 'GIDH' (const Guid*, ElementHeader*)  the header of the element with a GUID
//   HostDatabase 'HDEE' / 'DRWE' (const Guid*)        hides / redraws one element (recorded)
//   HostDatabase 'GCUT' (const DatabaseRecord*, SegmentRecord*, double* angle)
//                                      a section's or elevation's cut line and view angle
//   HostDatabase 'CABO' (const ElementHeader*, Box3DRecord*)
//                                      the element's box (by GUID in any database, else by
//                                      kind and index in the current one): x and y where the
//                                      element lies, z measured from the element's elevation
//                                      (its storey's elevation plus its level); kErrBadIndex
//                                      for no such element or a kind without a box (groups,
//                                      proxies, images). README.md, "Host model", lists each
//                                      kind's box
//   HostEnvironment 'GSTO' (int16_t* current, GSHandle* storeys)  a new handle of StoreyRecord
//   HostEnvironment 'CSTO' (const int16_t* number)   makes a storey current
//   HostEnvironment 'GATT' (AttributeRecord*)         an attribute by header type and index
//   HostEnvironment 'GATM' (const AttributeHeader*, ElementMemoRecord*)
//                                      a new memo of an attribute (a composite's skins, a
//                                      zone category's stamp parameters); empty for others
//   HostGoodies 'NTOE' (const int32_t* itemCode, int32_t* typeID) selection-item code to kind
//   HostGoodies 'NCLP' (int32_t* count) / 'GCLP' (const int32_t* i, ShortParameterRecord*)
//                                      the parameters the user changed in the settings dialog
//   HostAutomate 'ZOOM' (const BoxRecord*) / 'RBLD' (const int32_t* flags) / 'RBDB' / 'DRDB'
//   HostAutomate 'GEX2' / 'GZOM' (BoxRecord*)         the drawing's extent / the visible zoom
//   HostAutomate 'GSCL' (double*)                     the drawing scale
//   HostAutomate 'PTOC' (const Coord2D* screen, Coord2D* model)
//                                      the model point the current database's window shows
//                                      at a screen point (pixels from its top-left corner,
//                                      y down)
//   HostElementTool 'GRUP' 'UGRP' 'LOCK' 'ULCK' 'OFR1' 'OBA1' on SelectionItem[count]
#pragma once

#include <cstdint>

#include "platform/element_records.h"
#include "platform/geometry_records.h"
#include "platform/host_types.h"

namespace platform {

// X(name, return type, parameter list), as in host_table.h.
#define HOST_MODEL_OPERATIONS(X)                                                              \
  /* the element of record->header's kind and index; the memo is not read */                \
  X(HostGetElement, GSErr, (HostToken token, ElementRecord* record))                         \
  /* the greatest index of a kind (deleted indices included); indices may be null */         \
  X(HostGetElementList, GSErr, (HostToken token, int32_t typeID, int32_t* count, GSHandle* indices)) \
  /* 0 when the element exists and meets every filter bit (variation 0 matches any), else   \
     kErrBadIndex */                                                                          \
  X(HostFilterElement, GSErr,                                                                  \
    (HostToken token, int32_t typeID, int32_t index, int32_t filterBits, uint32_t variation))  \
  /* a new memo of the element with the GUID, the parts of mask (0: every part) */           \
  X(HostGetElementMemo, GSErr, (HostToken token, const Guid* guid, ElementMemoRecord* memo, int32_t mask)) \
  /* creates an element from record and memo (may be null); fills record's header */         \
  X(HostCreateElement, GSErr, (HostToken token, ElementRecord* record, const ElementMemoRecord* memo)) \
  /* replaces the element with record's GUID by record (and memo parts of mask) */          \
  X(HostChangeElement, GSErr,                                                                 \
    (HostToken token, ElementRecord* record, const ElementMemoRecord* memo, int32_t mask))    \
  /* deletes the elements of count headers */                                                 \
  X(HostDeleteElements, GSErr, (HostToken token, const ElementHeader* headers, int32_t count)) \
  /* a new handle of the selection's items; count receives their number */                   \
  X(HostGetSelection, GSErr, (HostToken token, GSHandle* items, int32_t* count))             \
  /* selects (add) or deselects the items; count 0 with add false deselects everything */     \
  X(HostSelectElements, GSErr, (HostToken token, const SelectionItem* items, int32_t count, bool add)) \
  /* the add-on's user data of an element (a new handle in record->data) */                  \
  X(HostGetElementUserData, GSErr, (HostToken token, const ElementHeader* header, UserDataRecord* record)) \
  /* attaches user data (null data removes it); header receives the changed header */        \
  X(HostSetElementUserData, GSErr, (HostToken token, ElementHeader* header, const UserDataRecord* record)) \
  /* marks or unmarks the element as linked to the add-on */                                  \
  X(HostLinkElement, GSErr, (HostToken token, const ElementHeader* header, bool on))         \
  /* applies an edit to the items; each item receives the edited (or new copied) element */   \
  X(HostEditElements, GSErr, (HostToken token, SelectionItem* items, int32_t count, const EditRecord* edit)) \
  /* the default settings of a new element of record->header.typeID (memo may be null) */    \
  X(HostGetElementDefaults, GSErr, (HostToken token, ElementRecord* record, ElementMemoRecord* memo)) \
  /* creates an attribute of record->header.typeID from the record (name, flags, body) and   \
     memo (may be null); the host picks the index and writes it into record->header.index;   \
     kErrBadParameter for an empty name or one in use in the type (letter case ignored) */   \
  X(HostCreateAttribute, GSErr, (HostToken token, AttributeRecord* record, const ElementMemoRecord* memo)) \
  /* replaces the attribute of the record's type and index by the record (and the memo's     \
     parts when memo is not null); kErrBadIndex when there is none, kErrBadParameter for an  \
     empty name or one another attribute of the type has */                                   \
  X(HostModifyAttribute, GSErr, (HostToken token, const AttributeRecord* record, const ElementMemoRecord* memo))

}  // namespace platform
