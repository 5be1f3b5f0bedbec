// Notes and the end screen.
const Notes = {
  hint: document.getElementById('hint'),
  note: document.getElementById('note'),
  end: document.getElementById('end'),

  show(text) {
    Notes.hint.hidden = true;
    Notes.note.textContent = text;
    Notes.note.hidden = false;
  },

  // Covers the page: the show cannot go on.
  message(text) {
    document.getElementById('message-text').textContent = text;
    document.getElementById('message').hidden = false;
    Fullscreen.button.hidden = Notes.hint.hidden = Notes.note.hidden = true;
    Panel.remove();
  },

  // Taps rather than clicks where the screen takes a finger.
  words() {
    if (!matchMedia('(any-pointer: coarse)').matches) return;
    Notes.hint.textContent = 'Tap for sound.';
    document.getElementById('end-text').textContent = 'tap to play again';
    Fullscreen.button.title = 'Fullscreen (or double-tap the picture)';
  },
};
