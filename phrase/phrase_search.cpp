// phrase_search
