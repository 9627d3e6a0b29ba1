// Phrase
