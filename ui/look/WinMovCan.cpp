#include "ui/look/WinMovCan.h"

#include "ui/look/Skins.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr int kStripWidth = 54, kCloseWidth = 17, kHeight = 30;
constexpr int kRowHeight = 15, kLitRowY = 16, kLitRowHeight = 16;

// Where each button sits in the strip: x and width.
struct Piece
{
    int code, x, width;
};
constexpr Piece kPieces[] = { { WinMovCan::kMinimise, 0, 20 },
                              { WinMovCan::kMaximise, 20, 15 },
                              { WinMovCan::kClose, 37, 17 } };

// The minimise button ends before x 20 and the close button starts after x 37.
constexpr float kMinimiseEnd = 20.0f, kCloseStart = 37.0f;
} // namespace

WinMovCan::WinMovCan (int variantFlags)
    : variant (variantFlags == kCloseOnly ? kCloseOnly : kThreeButtons),
      image (Skins::get (variant == kCloseOnly ? "window_close" : "window_buttons"))
{
    setSize (variant == kCloseOnly ? kCloseWidth : kStripWidth, kHeight);
}

WinMovCan::~WinMovCan() = default;

void WinMovCan::addListener (winToolListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void WinMovCan::removeListener (winToolListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void WinMovCan::tellListeners (int code)
{
    std::vector<winToolListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    // Last registered first, without the lock: a listener may hide or delete the window we sit in.
    const juce::Component::SafePointer<WinMovCan> alive (this);
    for (auto it = toTell.rbegin(); it != toTell.rend() && alive != nullptr; ++it)
    {
        const bool stillListening = [&] {
            const juce::ScopedLock sl (listenerLock);
            return std::find (listeners.begin(), listeners.end(), *it) != listeners.end();
        }();
        if (stillListening)
            (*it)->winToolClicked (this, code);
    }
}

int WinMovCan::buttonAt (float x) const noexcept
{
    if (variant == kCloseOnly)
        return kClose;
    if (x < kMinimiseEnd)
        return kMinimise;
    if (x > kCloseStart)
        return kClose;
    return kMaximise;
}

void WinMovCan::setHighlighted (int code)
{
    if (code != highlighted)
    {
        highlighted = code;
        repaint();
    }
}

void WinMovCan::mouseMove (const juce::MouseEvent& e) { setHighlighted (buttonAt (e.position.x)); }

void WinMovCan::mouseExit (const juce::MouseEvent&) { setHighlighted (kNone); }

void WinMovCan::mouseDown (const juce::MouseEvent& e) { pressed = buttonAt (e.position.x); }

void WinMovCan::mouseUp (const juce::MouseEvent& e)
{
    const int wasPressed = std::exchange (pressed, kNone);
    if (wasPressed != kNone && getLocalBounds().toFloat().contains (e.position) &&
        buttonAt (e.position.x) == wasPressed)
        tellListeners (wasPressed);
}

void WinMovCan::paint (juce::Graphics& g)
{
    if (! image.isValid())
    {
        paintDrawn (g);
        return;
    }

    const int width = variant == kCloseOnly ? kCloseWidth : kStripWidth;
    g.drawImage (image, 0, 0, width, kRowHeight, 0, 0, width, kRowHeight);

    // Only the strip has a lit row worth showing; the close-only button stays as it is.
    if (variant == kCloseOnly || highlighted == kNone)
        return;
    const int litHeight = juce::jmin (kLitRowHeight, image.getHeight() - kLitRowY);
    for (const auto& piece : kPieces)
        if (piece.code == highlighted && litHeight > 0)
            g.drawImage (image, piece.x, 0, piece.width, litHeight, piece.x, kLitRowY, piece.width, litHeight);
}

// Without the skin: the same three faces drawn plainly.
void WinMovCan::paintDrawn (juce::Graphics& g) const
{
    for (const auto& piece : kPieces)
    {
        if (variant == kCloseOnly && piece.code != kClose)
            continue;
        const int x = variant == kCloseOnly ? 0 : piece.x;
        const auto face = juce::Rectangle<float> ((float) x + 1.0f, 1.0f, (float) piece.width - 2.0f, 13.0f);
        g.setColour (piece.code == highlighted && variant != kCloseOnly ? juce::Colour (0xFF5A6163)
                                                                        : juce::Colour (0xFF2A2D2F));
        g.fillRoundedRectangle (face, 2.0f);
        g.setColour (juce::Colour (0xFFD6D6D6));
        const auto c = face.getCentre();
        if (piece.code == kMinimise)
            g.drawLine (c.x - 4.0f, c.y + 3.0f, c.x + 4.0f, c.y + 3.0f, 1.5f);
        else if (piece.code == kMaximise)
            g.drawRect (juce::Rectangle<float> (8.0f, 7.0f).withCentre (c), 1.2f);
        else
        {
            g.drawLine (c.x - 3.5f, c.y - 3.5f, c.x + 3.5f, c.y + 3.5f, 1.5f);
            g.drawLine (c.x - 3.5f, c.y + 3.5f, c.x + 3.5f, c.y - 3.5f, 1.5f);
        }
    }
}
