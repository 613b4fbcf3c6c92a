// FillImage in bands of rows on the worker pool.
#pragma once

class C_Color;
class C_Image;

// FillImage with each band of rows filled by a thread of the pool, the bands cut as
// the frame's other row work cuts them, so that each band's rows are cleared by
// the thread that writes them next and need not move between cores. Same result
// and failures as FillImage (an image whose buffer does not hold its rows goes to
// FillImage whole, which refuses it).
bool FillImageInBands(C_Image* image, const C_Color& color);
