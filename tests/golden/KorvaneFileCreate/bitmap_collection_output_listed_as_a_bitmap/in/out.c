old bitmaps
