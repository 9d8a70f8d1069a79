// Placeholder: the dialog is being written.
namespace zelto {}
