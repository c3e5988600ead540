// The edit-mode codes (CurrentWindowData::EditMode) that the design objects'
// input operations and ghosts test.
#pragma once
#include <cstdint>

constexpr std::uint8_t Mode_Idle = 0;
constexpr std::uint8_t Mode_NewSymbol = 24;
constexpr std::uint8_t Mode_EditSymbol = 25;
constexpr std::uint8_t Mode_AddNewShape = 26;
constexpr std::uint8_t Mode_PlaceShape = 27;
constexpr std::uint8_t Mode_AddNewString = 28;
constexpr std::uint8_t Mode_EditString = 29;
constexpr std::uint8_t Mode_PlacePadName = 32;
constexpr std::uint8_t Mode_PlaceDesignator = 33;
constexpr std::uint8_t Mode_MoveOrigin = 34;
constexpr std::uint8_t Mode_EditSelection = 39;
constexpr std::uint8_t Mode_SetBlockOrigin = 40;
constexpr std::uint8_t Mode_MovePadName = 42;
constexpr std::uint8_t Mode_AddNewPad = 45;
constexpr std::uint8_t Mode_NewPin = 51;
constexpr std::uint8_t Mode_AddNewCentroid = 59;
constexpr std::uint8_t Mode_SetCentroidAngle = 60;
constexpr std::uint8_t Mode_AddNewCentroidB = 61;
constexpr std::uint8_t Mode_AddNewSpiral = 64;
constexpr std::uint8_t Mode_SetSpiralStartPoint = 65;
constexpr std::uint8_t Mode_SetSpiralPitch = 66;
constexpr std::uint8_t Mode_SetSpiralEndPoint = 67;
constexpr std::uint8_t Mode_AddNewSymbol = 70;
constexpr std::uint8_t Mode_AddNewDimensionerText = 78;
constexpr std::uint8_t Mode_AddNewAngleDimensionerText = 82;
constexpr std::uint8_t Mode_Measure = 87;
constexpr std::uint8_t Mode_PlaceAttributeLocator = 110;
constexpr std::uint8_t Mode_EditNet = 111;
constexpr std::uint8_t Mode_PlaceMacroBlock = 113;

// The mode a rectangle's first corner step enters ('<'); the rectangle steps
// share the number with the centroid angle.
constexpr std::uint8_t Mode_RectangleFirstCorner = '<';
static_assert(Mode_RectangleFirstCorner == 60);
