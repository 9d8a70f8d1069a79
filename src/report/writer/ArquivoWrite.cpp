// Placeholder: this writer is being written.
