-- A small shop: single and composite primary keys, an employee's manager (a key to its own
-- table), nullable and NOT NULL foreign keys, unique indexes of one and two columns, DECIMAL,
-- TIMESTAMP and VARCHAR(n).
CREATE TABLE customers (
  customer_id INTEGER PRIMARY KEY,
  first_name varchar(20) NOT NULL,
  last_name varchar(25) NOT NULL,
  email varchar(60) NOT NULL,
  city varchar(12),
  state varchar(2),
  country varchar(10),
  postal_code varchar(10),
  phone varchar(14),
  company varchar(30),
  created_at timestamp NOT NULL
);
CREATE TABLE products (
  product_id INTEGER PRIMARY KEY,
  sku varchar(12) NOT NULL,
  title varchar(40) NOT NULL,
  price decimal(8,2) NOT NULL,
  active boolean NOT NULL
);
CREATE UNIQUE INDEX products_sku ON products (sku);
CREATE TABLE employees (
  employee_id INTEGER PRIMARY KEY,
  full_name varchar(40) NOT NULL,
  manager_id integer REFERENCES employees (employee_id),
  hired_on date NOT NULL
);
CREATE TABLE orders (
  order_id INTEGER PRIMARY KEY,
  customer_id integer NOT NULL REFERENCES customers (customer_id),
  sales_rep_id integer REFERENCES employees (employee_id),
  ordered_at timestamp NOT NULL,
  total decimal(10,2)
);
CREATE TABLE order_lines (
  order_id integer NOT NULL REFERENCES orders (order_id),
  line_no integer NOT NULL,
  product_id integer NOT NULL REFERENCES products (product_id),
  quantity smallint NOT NULL,
  unit_price decimal(8,2) NOT NULL,
  PRIMARY KEY (order_id, line_no)
);
CREATE UNIQUE INDEX order_lines_product ON order_lines (order_id, product_id);
