index.htm 
