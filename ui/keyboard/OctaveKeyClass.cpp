#include "ui/keyboard/OctaveKeyClass.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Skins.h"

namespace
{
constexpr std::array<int, 7> kWhiteSemitones { 0, 2, 4, 5, 7, 9, 11 };
const juce::Colour kDim (0x66000000);
} // namespace

OctaveKeyClass::OctaveKeyClass (MidiCntrState& s) : state (s), strip (Skins::get ("octave_strip"))
{
    // The piano shows the controller's octave, which outlives this editor.
    baseNote = juce::jlimit (0, kHighestBase, state.playOctave.load() * 12);
    setMouseCursor (juce::MouseCursor::LeftRightResizeCursor);
}

void OctaveKeyClass::setScale (float s)
{
    scale = s;
    repaint();
}

void OctaveKeyClass::setBaseNote (int note)
{
    baseNote = juce::jlimit (0, kHighestBase, note - note % 12);
    repaint();
}

int OctaveKeyClass::baseNoteAt (float x, float s)
{
    if (s <= 0.0f)
        return 0;

    const double p = (double) x / s - 25.0 * s;
    const double w = p / kWhiteKeyWidth;
    const int octave = (int) (w / 7.0);
    // Left of the first C the white-key index goes negative: that is still the lowest octave.
    const int r = juce::jlimit (0, 6, (int) (w - 7.0 * octave));
    const int note = 12 * octave + kWhiteSemitones[(size_t) r];
    const int rounded = note >= 0 ? note - note % 12 : 0;
    return juce::jlimit (0, kHighestBase, rounded);
}

void OctaveKeyClass::pick (float x)
{
    baseNote = baseNoteAt (x, scale);
    state.playOctave = baseNote / 12;
    repaint();
}

void OctaveKeyClass::mouseDown (const juce::MouseEvent& e) { pick (e.position.x); }
void OctaveKeyClass::mouseDrag (const juce::MouseEvent& e) { pick (e.position.x); }

void OctaveKeyClass::paint (juce::Graphics& g)
{
    g.drawImage (strip, 0, 0, (int) (kImageWidth * scale), (int) (kImageHeight * scale), 0, 0, strip.getWidth(),
                 strip.getHeight());

    const float height = kImageHeight * scale;
    const float left = (float) KeyStrip::keyX (baseNote) * scale;
    const float right = (float) KeyStrip::keyX (baseNote + kSpan) * scale;
    g.setColour (kDim);
    g.fillRect (0.0f, 0.0f, left, height);
    g.fillRect (right, 0.0f, 270.0f * scale - right, height);
}
