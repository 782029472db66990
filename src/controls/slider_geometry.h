#pragma once

// Position <-> pixel arithmetic of the bitmap slider, along its track. For a
// horizontal slider "length" is the control's width and the margins are the
// left and right ones; for a vertical slider the height and the top and bottom
// margins. Pixels are the centre of the thumb.
struct SliderTrack {
    int nLength = 0;       // control width (horizontal) or height (vertical)
    int nThumbSize = 0;    // thumb width (horizontal) or height (vertical)
    int nMarginStart = 0;  // left or top margin
    int nMarginEnd = 0;    // right or bottom margin
    int nMin = 0;
    int nMax = 100;
};

// Pixels the thumb centre can travel; negative when the control is too small.
int SliderTravel(const SliderTrack& stTrack);

// nPos limited to [nMin, nMax]; an inverted range yields nMin.
int ClampSliderPos(int nPos, int nMin, int nMax);

// Centre of the thumb for nPos (clamped first). An empty range or no travel puts
// the thumb at the start of the track instead of dividing by zero.
int SliderPosToPixel(const SliderTrack& stTrack, int nPos);

// Position under the thumb centre nPixel, limited to the range. An empty range
// or no travel yields the minimum.
int SliderPixelToPos(const SliderTrack& stTrack, int nPixel);

// Where a dragged thumb centre may go: [start margin + thumb/2, length - end margin - thumb/2].
int ClampSliderPixel(const SliderTrack& stTrack, int nPixel);

// Distance to keep between cursor and thumb centre when a drag starts: the
// cursor's offset when it lies on the thumb, else 0 so the thumb jumps to it.
int SliderDragOffset(const SliderTrack& stTrack, int nPos, int nCursor);
