// Replaced as the image classes arrive.
