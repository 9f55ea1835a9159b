#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's compiled-in images, by resource number. The PNGs live in
// resources/ and are embedded as BinaryData; this is the one place that ties a
// number to a file.
//
//  #      | file                           | size    | role
//  -------+--------------------------------+---------+------------------------------------------
//  0      | panel-top.png                  | 900x70  | header texture
//  1      | panel-bottom.png               | 900x250 | body texture
//  2      | knob-filmstrip.png             | 64x8192 | knob body, 128 frames of 64x64, top to bottom
//  3-5    | icon-note-{normal,on,hover}    | 24x24   | round "N" buttons
//  6-8    | icon-triplet-{normal,on,hover} | 24x24   | round "T" buttons
//  9-11   | icon-dotted-{normal,on,hover}  | 24x24   | round "D" buttons
//  12-14  | toggle-bypass-*                | 18x18   | "BYPASS" toggle
//  15-17  | toggle-autogain-*              | 18x18   | "AUTO GAIN" toggle
//  18-20  | toggle-notegrid-*              | 18x18   | "NOTE GRID" toggle
//  21-23  | toggle-oversampling-*          | 18x18   | "OVERSAMP" toggle
//  24     | logo.png                       | 76x40   | maker's logo
//
// Each icon set is three consecutive images: normal, on, hover.
namespace EditorImages
{
enum Index : int
{
    topPanel = 0,
    bottomPanel = 1,
    knobFilmStrip = 2,
    firstCircularButtonIcon = 3, // sets "N", "T", "D"
    noteIcons = firstCircularButtonIcon,
    tripletIcons = 6,
    dottedIcons = 9,
    firstToggleButtonIcon = 12,  // sets "BYPASS", "AUTOGAIN", "NOTEGRID", "OVERSAMP"
    bypassToggle = firstToggleButtonIcon,
    autoGainToggle = 15,
    noteGridToggle = 18,
    oversamplingToggle = 21,
    logo = 24
};

constexpr int count = 25;
constexpr int knobFilmStripFrames = 128;

// Offsets of the three images within an icon set.
constexpr int normalState = 0, onState = 1, hoverState = 2;

// The image with the given resource number, decoded once and then shared
// through juce::ImageCache; an invalid image for a number outside 0-24 or a
// resource that does not decode.
juce::Image get (int resourceIndex);
} // namespace EditorImages
