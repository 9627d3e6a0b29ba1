// outline
