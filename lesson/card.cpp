// card
