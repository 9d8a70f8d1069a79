// Placeholder: tests of this writer are being written.
