// UUIDs over libuuid: the identity of container-store clients.
//
// The record has the usual four fields; its string form is the lower-case
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" with Data1, Data2 and Data3 printed
// as numbers and Data4 byte by byte. Comparison orders by the fields in turn,
// which is the order of the string form.
#pragma once
#include "platform/win_types.h"

struct UUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
static_assert(sizeof(UUID) == 16);
using GUID = UUID;

using RPC_STATUS = LONG;
using RPC_CSTR = unsigned char*;

constexpr RPC_STATUS RPC_S_OK = 0;
constexpr RPC_STATUS RPC_S_OUT_OF_MEMORY = 14;
constexpr RPC_STATUS RPC_S_INVALID_STRING_UUID = 1705;

RPC_STATUS UuidCreate(UUID* uuid);
RPC_STATUS UuidCreateNil(UUID* uuid);
// A new string for the caller, freed with RpcStringFree.
RPC_STATUS UuidToString(const UUID* uuid, RPC_CSTR* text);
RPC_STATUS UuidFromString(RPC_CSTR text, UUID* uuid);
// Frees the string and sets the pointer to null.
RPC_STATUS RpcStringFree(RPC_CSTR* text);
// TRUE when equal. A null UUID counts as the nil UUID.
int UuidEqual(UUID* a, UUID* b, RPC_STATUS* status);
// -1, 0 or 1.
int UuidCompare(UUID* a, UUID* b, RPC_STATUS* status);
int UuidIsNil(UUID* uuid, RPC_STATUS* status);

// The names under which the program's callers know the string forms.
inline RPC_STATUS UuidToStringA(const UUID* uuid, RPC_CSTR* text) { return UuidToString(uuid, text); }
inline RPC_STATUS UuidFromStringA(RPC_CSTR text, UUID* uuid) { return UuidFromString(text, uuid); }
inline RPC_STATUS RpcStringFreeA(RPC_CSTR* text) { return RpcStringFree(text); }
